#include "supervisor/form1.h"

#include <QApplication>
#include <QMenuBar>

#include "platform/dialogs.h"
#include "platform/printer.h"
#include "supervisor/zuno1.h"

using namespace ZUNO1;
using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

QLabel* makeLabel(QWidget* parent, int left, int top, int width, int height) {
    auto* l = new QLabel(parent);
    platform::setTwipsGeometry(l, left, top, width, height);
    return l;
}

QPushButton* makeButton(QWidget* parent, const QString& caption, int left, int top) {
    auto* b = new QPushButton(caption, parent);
    platform::setTwipsGeometry(b, left, top, 1215, 375);
    return b;
}

}  // namespace

Form1::Form1() {
    setWindowTitle(kMainTitle);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    client->setFixedSize(platform::px(5820), platform::px(4680));

    // Row n at top 360 + 600 (n - 1): name, "Presets", "Estado", status.
    for (int slot = 1; slot <= kSlots; ++slot) {
        const int top = 360 + 600 * (slot - 1);
        names_[slot - 1] = makeLabel(client, 240, top, 1215, 375);
        names_[slot - 1]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        presets_[slot - 1] = makeButton(client, QStringLiteral("Presets"), 1680, top);
        estados_[slot - 1] = makeButton(client, QStringLiteral("Estado"), 3120, top);
        Label5[slot - 1] = makeLabel(client, 4440, top, 1215, 375);
        Label5[slot - 1]->setAlignment(Qt::AlignCenter);
        Label5[slot - 1]->setStyleSheet(QStringLiteral("color: #FF0000; font-weight: bold;"));
        Label5[slot - 1]->setObjectName(QStringLiteral("Label5_%1").arg(slot - 1));
        connect(presets_[slot - 1], &QPushButton::clicked, this,
                [this, slot] { PresetsClick(slot); });
        connect(estados_[slot - 1], &QPushButton::clicked, this,
                [this, slot] { EstadoClick(slot); });
    }
    Label1 = names_[0], Label2 = names_[1], Label3 = names_[2];
    Label4 = names_[3], Label8 = names_[4], Label9 = names_[5];
    Command1 = presets_[0], Command3 = presets_[1], Command5 = presets_[2];
    Command7 = presets_[3], Command10 = presets_[4], Command11 = presets_[5];
    Command2 = estados_[0], Command4 = estados_[1], Command6 = estados_[2];
    Command8 = estados_[3], Command9 = estados_[4], Command12 = estados_[5];
    const char* names[] = {"Label1", "Label2", "Label3", "Label4", "Label8", "Label9"};
    const char* presetNames[] = {"Command1", "Command3",  "Command5",
                                 "Command7", "Command10", "Command11"};
    const char* estadoNames[] = {"Command2", "Command4", "Command6",
                                 "Command8", "Command9", "Command12"};
    for (int i = 0; i < kSlots; ++i) {
        names_[i]->setObjectName(names[i]);
        presets_[i]->setObjectName(presetNames[i]);
        estados_[i]->setObjectName(estadoNames[i]);
    }

    Label7 = makeLabel(client, 4080, 0, 1695, 225);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setAlignment(Qt::AlignCenter);
    Label7->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label7->setStyleSheet(QStringLiteral("background: #C0C0C0; font-size: 8pt;"));

    Label6 = makeLabel(client, 120, 3960, 3375, 495);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setStyleSheet(QStringLiteral("background: #C0C0C0;"));
    Label6->hide();

    LogWarning = makeLabel(client, 120, 3960, 5580, 600);
    LogWarning->setObjectName(QStringLiteral("LogWarning"));
    LogWarning->setWordWrap(true);
    LogWarning->setStyleSheet(QStringLiteral(
        "background: #FFF2B3; color: #A00000; border: 1px solid #A00000; padding: 2px;"));
    LogWarning->hide();

    buildMenus();

    Comm1.RThreshold = kReplyThreshold;
    Comm1.InputLen = 1;
    connect(&Comm1, &platform::Comm::OnComm, this, &Form1::Comm1_OnComm);
    connect(&Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    Timer2.setInterval(60000);
}

void Form1::buildMenus() {
    file = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    SetImp = file->addAction(QStringLiteral("&Configurar Impressora"), this, &Form1::SetImp_Click);
    exit = file->addAction(QStringLiteral("Sai&r"), this, &Form1::exit_Click);

    Rel = menuBar()->addMenu(QStringLiteral("&Relatórios"));
    RelGraf = Rel->addAction(QStringLiteral("&Grafico"), this, [] {
        ReportKind = 0;
        if (OpenReportSelection) OpenReportSelection();
    });
    RelNum = Rel->addAction(QStringLiteral("&Numerico"), this, [] {
        ReportKind = 1;
        if (OpenReportSelection) OpenReportSelection();
    });

    Config = menuBar()->addMenu(QStringLiteral("&Configuração"));
    Autoclaves = Config->addAction(QStringLiteral("Con&troladores"), this, [] {
        if (OpenInstallation) OpenInstallation();
    });
    PortaSerial = Config->addAction(QStringLiteral("&Porta Serial"), this, [] {
        if (OpenPortSelection) OpenPortSelection();
    });
    atalho = Config->addAction(QStringLiteral("&Caminho"), this, &Form1::atalho_Click);

    help = menuBar()->addMenu(QStringLiteral("&?"));
    Ajuda = help->addAction(QStringLiteral("&Ajuda"), this, [] {
        if (OpenHelp) OpenHelp();
    });
    About = help->addAction(QStringLiteral("&Sobre"), this, [] {
        if (OpenAbout) OpenAbout();
    });

    // Items whose windows are not part of this build stay visible but greyed.
    RelGraf->setEnabled(bool(OpenReportSelection));
    RelNum->setEnabled(bool(OpenReportSelection));
    Autoclaves->setEnabled(bool(OpenInstallation));
    PortaSerial->setEnabled(bool(OpenPortSelection));
    Ajuda->setEnabled(bool(OpenHelp));
    About->setEnabled(bool(OpenAbout));

    file->setObjectName(QStringLiteral("file"));
    Rel->setObjectName(QStringLiteral("Rel"));
    Config->setObjectName(QStringLiteral("Config"));
    help->setObjectName(QStringLiteral("help"));
    const std::pair<QAction*, const char*> named[] = {{SetImp, "SetImp"},
                                                      {exit, "exit"},
                                                      {RelGraf, "RelGraf"},
                                                      {RelNum, "RelNum"},
                                                      {Autoclaves, "Autoclaves"},
                                                      {PortaSerial, "PortaSerial"},
                                                      {atalho, "atalho"},
                                                      {Ajuda, "Ajuda"},
                                                      {About, "About"}};
    for (const auto& [action, name] : named) action->setObjectName(QString::fromLatin1(name));
}

void Form1::askPort() {
    const Answer a =
        platform::MsgBox(QStringLiteral("Autoclaves ligadas na porta serial COM1 ?"),
                         Buttons::YesNo, Icon::Question, QStringLiteral("Seleção da porta serial"));
    PortChoice = a == Answer::Yes ? 0 : 1;
    GravaConfig();
}

bool Form1::openPort() {
    Comm1.setPortOpen(false);
    Comm1.CommPort = PortChoice == 0 ? 1 : 2;
    Comm1.Settings = QStringLiteral("9600,n,8,1");
    Comm1.Handshaking = 0;
    return Comm1.setPortOpen(true);
}

void Form1::Form_Load() {
    NormalPollInterval = 1000;
    Timer1.setInterval(NormalPollInterval);
    SetPollIntervalTarget([this](int ms) { Timer1.setInterval(ms); });
    SetPollInterval(NormalPollInterval);
    NewLine = QStringLiteral("\r\n");
    adjustSize();
    platform::placeOnScreen(this, 0.1);

    if (!LeConfig()) {
        AplicaPadroes();
        GravaConfig();
        askPort();
    }
    while (!openPort()) {
        const QString text =
            QStringLiteral("Porta serial COM%1 não disponivel ! Selecionar outra ?")
                .arg(PortChoice == 0 ? 1 : 2);
        if (platform::MsgBox(text, Buttons::YesNo, Icon::Question,
                             QStringLiteral("Programa Gerenciador de Autoclaves")) != Answer::Yes) {
            endProgram();
            return;
        }
        askPort();
    }
    PollSlot = 1;
    for (int s = 1; s <= kSlots; ++s) {
        LoggingActive[s] = 0;
        CycleStatus[s] = 99;
    }
    MontaControladores();
    Timer1.start();
    Timer2.start();
}

void Form1::Form_Unload() {
    Timer1.stop();
    Timer2.stop();
    Comm1.setPortOpen(false);
    SetPollIntervalTarget({});
}

void Form1::endProgram() {
    ended_ = true;
    Timer1.stop();
    Timer2.stop();
    QCoreApplication::exit(0);
}

bool Form1::confirmExit() {
    return platform::MsgBox(QStringLiteral("Sair do programa , para o registro de dados dos "
                                           "controladores ! Voce deseja continuar ?"),
                            Buttons::YesNo, Icon::Question,
                            QStringLiteral("Programa Gerenciador de Controladores ")) ==
           Answer::Yes;
}

void Form1::exit_Click() {
    if (confirmExit()) endProgram();
}

void Form1::closeEvent(QCloseEvent* e) {
    if (ended_ || confirmExit()) {
        endProgram();
        SingleForm::closeEvent(e);
    } else {
        e->ignore();
    }
}

void Form1::SetImp_Click() {
    platform::ShowPrinterSetup(this);
}

void Form1::atalho_Click() {
    const QString answer = platform::InputBox(
        QStringLiteral("Entre o caminho para armazenar os dados .     Só realizar esta operação "
                       "com as autoclaves paradas , caso contrario os dados serão perdidos !"),
        QStringLiteral("Caminho"), DataPath);
    if (answer.isEmpty()) return;
    DataPath = answer;
    GravaConfig();
}

void Form1::EstadoClick(int slot) {
    SelectedSlot = Integer(slot);
    CommandCode[slot] = 0;
    const int model = InstalledModel[slot];
    if (isModel(model) && DisplayOpeners[model]) DisplayOpeners[model]();
}

void Form1::PresetsClick(int slot) {
    if (PresetsButton) PresetsButton(slot);
}

void Form1::Timer2_Timer() {
    if (MinuteTick) MinuteTick();
}

void Form1::setLogWarning(const QString& text) {
    LogWarning->setText(text);
    LogWarning->setVisible(!text.isEmpty());
}

namespace ZUNO1 {

void MontaControladores() {
    Form1& f = Form1::get();
    for (int slot = 1; slot <= kSlots; ++slot) {
        const int model = InstalledModel[slot];
        if (model < 0 || model > 7) continue;
        f.nameLabel(slot)->setText(mainCaption(model));
        f.presetsButton(slot)->setEnabled(model != 0);
        f.estadoButton(slot)->setEnabled(model != 0);
    }
}

}  // namespace ZUNO1
