#include <QFileInfo>
#include <QMenuBar>

#include "fixture.h"

using namespace ZUNO1;
using platform::Answer;

namespace {
const char* kPortQuestion = "Autoclaves ligadas na porta serial COM1 ?";
const char* kCom1Failed = "Porta serial COM1 não disponivel ! Selecionar outra ?";
const char* kCom2Failed = "Porta serial COM2 não disponivel ! Selecionar outra ?";
}  // namespace

class StartupTest : public SupervisorTest {};

TEST_F(StartupTest, FirstRunAsksThePortOnceAndWritesTheChoiceBeforeOpening) {
    breakPorts();
    dialogs->answers = {Answer::No, Answer::No};  // COM2, then give up
    Form1::get();
    EXPECT_EQ(messageTexts(),
              QStringList({QString::fromUtf8(kPortQuestion), QString::fromUtf8(kCom2Failed)}));
    EXPECT_EQ(dialogs->messages()[0].title, QString::fromUtf8("Seleção da porta serial"));
    EXPECT_EQ(dialogs->messages()[0].icon, platform::Icon::Question);
    EXPECT_EQ(dialogs->messages()[1].title, "Programa Gerenciador de Autoclaves");
    EXPECT_TRUE(Form1::programEnded());
    const QList<QByteArray> lines = readConfig().split('\n');
    EXPECT_EQ(lines.size(), 17);  // sixteen lines and the empty rest
    EXPECT_EQ(lines[0], "1\r");
    EXPECT_EQ(lines[13], "C:\\ZUNO\\\r");
    EXPECT_EQ(lines[15], "49688401\r");
}

TEST_F(StartupTest, UnusablePortsAlternateFailureAndQuestionUntilNo) {
    breakPorts();
    writeConfig(configText({1, 0, 0, 0, 0, 0}));
    dialogs->answers = {Answer::Yes, Answer::No, Answer::Yes, Answer::Yes, Answer::No};
    Form1::get();
    const QString q = QString::fromUtf8(kPortQuestion);
    EXPECT_EQ(messageTexts(),
              QStringList({QString::fromUtf8(kCom1Failed), q, QString::fromUtf8(kCom2Failed), q,
                           QString::fromUtf8(kCom1Failed)}));
    EXPECT_TRUE(Form1::programEnded());
}

TEST_F(StartupTest, GoodPortOpensAndSlotGroupsFollowTheModels) {
    testing_support::PtyLink line(platform::comDevice(1));
    ASSERT_TRUE(line.ok());
    writeConfig(configText({0, 1, 2, 6, 7, 9}));
    Form1& f = Form1::get();
    EXPECT_TRUE(dialogs->shown.isEmpty());
    EXPECT_TRUE(f.Comm1.PortOpen());
    EXPECT_FALSE(Form1::programEnded());
    const char* expected[] = {"Não Instalado", "KVS", "PRXT", "RT-58HW", "GZO-NEO", ""};
    for (int slot = 1; slot <= 6; ++slot) {
        EXPECT_EQ(f.nameLabel(slot)->text(), QString::fromUtf8(expected[slot - 1])) << slot;
        const bool enabled = slot >= 2;  // model 9 leaves the designed state
        EXPECT_EQ(f.estadoButton(slot)->isEnabled(), enabled) << slot;
        EXPECT_EQ(f.presetsButton(slot)->isEnabled(), enabled) << slot;
        EXPECT_EQ(CycleStatus[slot], 99);
    }
    // Model 9 is out of range: the group keeps what it showed.
    InstalledModel[6] = 3;
    MontaControladores();
    EXPECT_EQ(f.nameLabel(6)->text(), "GZO1");
    InstalledModel[6] = 9;
    MontaControladores();
    EXPECT_EQ(f.nameLabel(6)->text(), "GZO1");
    EXPECT_TRUE(f.estadoButton(6)->isEnabled());

    f.show();
    testing_support::savePng(&f, "Form1");
}

TEST_F(StartupTest, CaminhoWritesOnlyANonEmptyAnswer) {
    testing_support::PtyLink line(platform::comDevice(1));
    writeConfig(configText({1, 0, 0, 0, 0, 0}));
    Form1& f = Form1::get();
    const QByteArray before = readConfig();

    f.atalho_Click();  // cancelled
    dialogs->inputs = {QString()};
    f.atalho_Click();  // empty
    EXPECT_EQ(readConfig(), before);
    EXPECT_EQ(DataPath, "C:\\ZUNO\\");
    EXPECT_EQ(dialogs->shown[0].title, "Caminho");
    EXPECT_EQ(dialogs->shown[0].defaultText, "C:\\ZUNO\\");

    dialogs->inputs = {"D:\\dados"};
    f.atalho_Click();
    EXPECT_EQ(DataPath, "D:\\dados");
    EXPECT_TRUE(readConfig().contains("\r\nD:\\dados\r\n"));
}

TEST_F(StartupTest, LeavingAsksFirstFromTheMenuAndFromTheFrame) {
    testing_support::PtyLink line(platform::comDevice(1));
    writeConfig(configText({1, 0, 0, 0, 0, 0}));
    Form1& f = Form1::get();
    f.show();
    dialogs->answers = {Answer::No};
    f.exit_Click();
    EXPECT_FALSE(Form1::programEnded());
    dialogs->answers = {Answer::No};
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(Form1::loaded());
    const auto shown = dialogs->messages();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1].text, shown[0].text);
    EXPECT_EQ(shown[0].title, "Programa Gerenciador de Controladores ");
    dialogs->answers = {Answer::Yes};
    f.exit_Click();
    EXPECT_TRUE(Form1::programEnded());
}

TEST_F(StartupTest, EstadoSelectsTheSlotAndOpensItsModelsWindow) {
    testing_support::PtyLink line(platform::comDevice(1));
    writeConfig(configText({0, 4, 0, 0, 0, 0}));
    Form1& f = Form1::get();
    int opened = 0;
    DisplayOpeners[4] = [&] { ++opened; };
    CommandCode[2] = 8;
    f.Command4->click();
    EXPECT_EQ(SelectedSlot, 2);
    EXPECT_EQ(CommandCode[2], 0);
    EXPECT_EQ(opened, 1);
    DisplayOpeners[4] = nullptr;
}
