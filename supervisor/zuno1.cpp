#include "supervisor/zuno1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <cmath>

#include "platform/dialogs.h"
#include "platform/events.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/seqfile.h"

namespace ZUNO1 {

namespace {

struct ModelNames {
    const char* main;
    const char* install;
    const char* extension;
};

constexpr ModelNames kModels[8] = {
    {"Não Instalado", "Não Instalado", ""},
    {"KVS", "KVS", ".KVS"},
    {"PRXT", "PRX-T", ".PRX"},
    {"GZO1", "GZO1", ".GZO"},
    {"TERMA", "TERMA", ".TER"},
    {"GZO2", "GZO2", ".GZO"},
    {"RT-58HW", "RT-58HW", ".HW"},
    {"GZO-NEO", "GZO NEO", ".GZO"},
};

}  // namespace

bool isModel(int code) {
    return code >= 1 && code <= 7;
}

QString mainCaption(int code) {
    return code >= 0 && code <= 7 ? QString::fromUtf8(kModels[code].main) : QString();
}

QString installCaption(int code) {
    return code >= 0 && code <= 7 ? QString::fromUtf8(kModels[code].install) : QString();
}

QString fileExtension(int code) {
    return isModel(code) ? QString::fromLatin1(kModels[code].extension) : QString();
}

void resetSlotTable() {
    for (auto* a : {&InstalledModel, &FileLetter, &MissedPolls, &CommandCode, &SendFlag, &ReplyFlag,
                    &Temp1, &Temp2, &Temp3, &Temp4, &Temp5, &Temp6, &Temp7, &CycleStatus,
                    &CyclePhase, &ParamLow, &ParamHigh, &LoggingActive, &LogCountdown})
        a->fill(0);
    OuterPressure.fill(0);
    InnerPressure.fill(0);
    Humidity.fill(0);
    LotRecord.fill(QString(kLotLength, QChar(0)));
    DataFileName.fill(QString());
    PortChoice = 0;
    DataPath.clear();
    TransducerScale = 0;
    AccessPassword = 0;
    PollSlot = 1;
    SelectedSlot = 0;
    CommandValue = 0;
    ReplySlot = 0;
    NormalPollInterval = 1000;
    NewLine.clear();
    ReportKind = 0;
    ReportFile.clear();
    ReportSlot = ReportModel = ReportCount = 0;
    ReportDate.clear();
    for (auto& t : ReportT) t.fill(0);
    ReportValue7.fill(0);
    ReportPint.fill(0);
    GateResult = 0;
    EnteredPassword = 0;
    PresetValues.fill(0);
}

// --- configuration file ---------------------------------------------------------

bool LeConfig() {
    QFile file(platform::resolvePath(kConfigPath));
    if (!file.open(QIODevice::ReadOnly)) return false;
    platform::SeqReader in(file.readAll());
    file.close();

    auto integer = [&](Integer& field) {
        const std::optional<double> v = in.number();
        if (!v) return false;
        const std::optional<int16_t> i = platform::ToInt16(*v);
        if (!i) return false;
        field = *i;
        return true;
    };
    // Fields are taken one by one, as they are read; a later failure leaves the
    // earlier ones to the defaults, except TransducerScale, which keeps its value.
    Integer port = 0;
    PerSlot<Integer> models{}, letters{};
    if (!integer(port)) return false;
    for (int s = 1; s <= kSlots; ++s)
        if (!integer(models[s])) return false;
    for (int s = 1; s <= kSlots; ++s)
        if (!integer(letters[s])) return false;
    const std::optional<QString> path = in.field();
    if (!path) return false;
    if (!integer(TransducerScale)) return false;
    const std::optional<double> square = in.number();
    if (!square || *square < 0 || !std::isfinite(*square)) return false;

    PortChoice = port;
    InstalledModel = models;
    FileLetter = letters;
    DataPath = *path;
    AccessPassword = std::floor(std::sqrt(*square));
    return true;
}

void AplicaPadroes() {
    for (int s = 1; s <= kSlots; ++s) {
        InstalledModel[s] = 0;
        FileLetter[s] = 'A';
    }
    PortChoice = 0;
    DataPath = QStringLiteral("C:\\ZUNO\\");
    AccessPassword = 7049;
}

// A path the reader would cut or trim goes in quotes.
static QString pathField(const QString& path) {
    const bool quote = path.contains(',') || path.contains('"') || path != path.trimmed();
    return quote ? '"' + path + '"' : path;
}

bool GravaConfig() {
    const QString target = platform::resolvePath(kConfigPath);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QByteArray text;
    text += platform::TextLine(QString::number(PortChoice));
    for (int s = 1; s <= kSlots; ++s)
        text += platform::TextLine(QString::number(InstalledModel[s]));
    for (int s = 1; s <= kSlots; ++s) text += platform::TextLine(QString::number(FileLetter[s]));
    text += platform::TextLine(pathField(DataPath));
    text += platform::TextLine(QString::number(TransducerScale));
    text += platform::TextLine(QLocale::c().toString(AccessPassword * AccessPassword, 'f',
                                                     QLocale::FloatingPointShortest));
    QSaveFile file(target);
    const bool saved =
        file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
    if (!saved)
        platform::MsgBox(QStringLiteral("Não foi possível gravar a configuração em %1 (%2).\n"
                                        "As alterações não foram salvas.")
                             .arg(kConfigPath, file.errorString()),
                         platform::Buttons::Ok, platform::Icon::Warning, kMainTitle);
    return saved;
}

// --- exchanges ------------------------------------------------------------------

namespace {
int pollIntervalNow = 1000;
std::function<void(int)> applyPollInterval;
}  // namespace

void SetPollInterval(int ms) {
    pollIntervalNow = ms;
    if (applyPollInterval) applyPollInterval(ms);
}

int PollInterval() {
    return pollIntervalNow;
}

void SetPollIntervalTarget(std::function<void(int)> apply) {
    applyPollInterval = std::move(apply);
}

int ExchangeStepTimeout() {
    int polled = 0;  // polls per round: the installed slots, plus slot 1 closing the round
    for (int s = 1; s <= kSlots; ++s)
        if (InstalledModel[s] != 0) ++polled;
    polled = InstalledModel[1] != 0 ? polled : polled + 1;
    return std::max(3000, 3 * polled * PollInterval());
}

QString SemResposta(int slot) {
    const int model = slot >= 1 && slot <= kSlots ? InstalledModel[slot] : 0;
    return QStringLiteral(
               "O controlador %1 (%2) não respondeu.\n"
               "O comando foi cancelado. Verifique se o controlador está ligado "
               "e conectado à linha serial.")
        .arg(slot)
        .arg(installCaption(model));
}

QString TrocaOcupada() {
    return QStringLiteral("Aguarde: uma comunicação com o controlador está em andamento.");
}

QString TrocaInterrompidaTexto() {
    return QStringLiteral("A comunicação em andamento foi interrompida por \"Aborta Ciclo\".");
}

Troca::Troca(bool isAbort) {
    if (active_ != 0 && !isAbort) {
        platform::MsgBox(TrocaOcupada(), platform::Buttons::Ok, platform::Icon::Warning,
                         kMainTitle);
        return;
    }
    id_ = ++counter_;
    active_ = id_;
}

Troca::~Troca() {
    if (id_ != 0 && active_ == id_) active_ = 0;
}

Exchange Troca::aguarda() const {
    const auto waitFor = [this](PerSlot<Integer>& flag) {
        flag[SelectedSlot] = 1;
        const bool done =
            platform::WaitUntil([&] { return interrupted() || flag[SelectedSlot] != 1; },
                                std::chrono::milliseconds(ExchangeStepTimeout()));
        if (interrupted()) return Exchange::Interrupted;
        if (!done) {
            flag[SelectedSlot] = 0;
            return Exchange::NoAnswer;
        }
        return Exchange::Done;
    };
    if (const Exchange e = waitFor(SendFlag); e != Exchange::Done) return e;
    return waitFor(ReplyFlag);
}

Exchange EnviaComando(Integer code) {
    Troca troca(code == kAbortCode);
    if (!troca.accepted()) return Exchange::Refused;
    CommandCode[SelectedSlot] = code;
    SetPollInterval(500);
    Exchange result = Exchange::Done;
    for (int i = 0; i < 2 && result == Exchange::Done; ++i) result = troca.aguarda();
    if (result == Exchange::Interrupted) {
        // The abort owns the command fields now.
        platform::MsgBox(TrocaInterrompidaTexto(), platform::Buttons::Ok,
                         platform::Icon::Information, kMainTitle);
        return result;
    }
    const int slot = SelectedSlot;
    CommandCode[slot] = 0;
    SetPollInterval(NormalPollInterval);
    if (result == Exchange::NoAnswer)
        platform::MsgBox(SemResposta(slot), platform::Buttons::Ok, platform::Icon::Warning,
                         kMainTitle);
    return result;
}

}  // namespace ZUNO1
