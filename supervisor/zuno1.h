#pragma once
// Module ZUNO1: the slot table shared by every window, and the module procedures.
// Per-slot arrays have entries 0..6; entry 0 of the live values is the decoder's
// staging row, entry 0 of the others is not used.
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace ZUNO1 {

template <class T>
using PerSlot = std::array<T, 7>;
using Integer = int16_t;

constexpr int kSlots = 6;
constexpr int kLotLength = 11;
constexpr int kReportCapacity = 2881;  // two days of minute records

// Model codes (InstalledModel).
enum Model : Integer {
    NotInstalled = 0,
    KVS = 1,
    PRXT = 2,
    GZO1 = 3,
    TERMA = 4,
    GZO2 = 5,
    RT58HW = 6,
    GZONEO = 7
};
bool isModel(int code);
// Caption in the main window ("Não Instalado" for 0, empty outside 0..7).
QString mainCaption(int code);
// Caption in the installation window.
QString installCaption(int code);
// Data-file extension with its dot (".KVS"), empty for 0 and outside 1..7.
QString fileExtension(int code);

// --- configuration -------------------------------------------------------
inline PerSlot<Integer> InstalledModel{};
inline PerSlot<Integer> FileLetter{};
inline Integer PortChoice = 0;
inline QString DataPath;
inline Integer TransducerScale = 0;
inline double AccessPassword = 0;

// --- polling and the pending command --------------------------------------
inline Integer PollSlot = 1;
inline PerSlot<Integer> MissedPolls{};
inline Integer SelectedSlot = 0;
inline PerSlot<Integer> CommandCode{};
inline Integer CommandValue = 0;
inline PerSlot<Integer> SendFlag{};
inline PerSlot<Integer> ReplyFlag{};
inline Integer ReplySlot = 0;
inline Integer NormalPollInterval = 1000;

// --- live values, decoded from replies -------------------------------------
inline PerSlot<Integer> Temp1{}, Temp2{}, Temp3{}, Temp4{}, Temp5{}, Temp6{}, Temp7{};
inline PerSlot<double> OuterPressure{};  // bar
inline PerSlot<double> InnerPressure{};  // bar
inline PerSlot<double> Humidity{};       // percent
inline PerSlot<Integer> CycleStatus{};   // 99 = no cycle
inline PerSlot<Integer> CyclePhase{};
inline PerSlot<Integer> ParamLow{};
inline PerSlot<Integer> ParamHigh{};

// --- cycle records ----------------------------------------------------------
inline PerSlot<Integer> LoggingActive{};
inline PerSlot<QString> LotRecord{};  // "L" + lot padded to 11; 11 NULs when none typed
inline PerSlot<QString> DataFileName{};
inline PerSlot<Integer> LogCountdown{};

// --- reports ----------------------------------------------------------------
inline QString NewLine;
inline Integer ReportKind = 0;  // 0 graphic, 1 numeric
inline QString ReportFile;
inline Integer ReportSlot = 0;
inline Integer ReportModel = 0;
inline QString ReportDate;
inline Integer ReportCount = 0;
inline std::array<std::array<double, kReportCapacity>, 6> ReportT{};  // ReportT1..ReportT6
inline std::array<Integer, kReportCapacity> ReportValue7{};
inline std::array<double, kReportCapacity> ReportPint{};

// --- access gate and presets --------------------------------------------------
inline Integer GateResult = 0;  // 0 no answer, 1 cancelled, 2 confirmed
inline double EnteredPassword = 0;
inline std::array<Integer, 21> PresetValues{};

// Start-of-program values of every field (the arrays zero, the scalars as above).
void resetSlotTable();

// --- configuration file --------------------------------------------------------
// Program path of the configuration file.
inline const QString kConfigPath = QStringLiteral("C:\\ZUNO\\ZUNO.CFG");
// Reads the sixteen values; false (fields untouched beyond TransducerScale) when the
// file cannot be read in full.
bool LeConfig();
// Defaults after an unreadable file; TransducerScale keeps what it holds.
void AplicaPadroes();
// Replaces the file atomically; on failure tells the operator and returns false.
bool GravaConfig();

// --- the main window's slot groups ----------------------------------------------
void MontaControladores();

// --- command hand-over ------------------------------------------------------------
// Outcome of an exchange with the selected slot.
enum class Exchange { Done, NoAnswer, Interrupted, Refused };
constexpr Integer kAbortCode = 8;

// One exchange with the selected slot at a time. Commands, the preset read-back and
// the preset send each hold a Troca while they use CommandCode, CommandValue and the
// flags. A second exchange is refused (with a message), except an abort, which
// interrupts the running one and goes through.
class Troca {
  public:
    explicit Troca(bool isAbort = false);
    ~Troca();
    Troca(const Troca&) = delete;
    Troca& operator=(const Troca&) = delete;

    bool accepted() const { return id_ != 0; }
    // An abort took over; the owner stops touching the command fields and returns.
    bool interrupted() const { return id_ != 0 && active_ != id_; }
    static bool running() { return active_ != 0; }

    // The hand-over: waits for the next request frame to SelectedSlot, then for its
    // next accepted reply; each wait reads SelectedSlot afresh and is bounded.
    Exchange aguarda() const;

  private:
    int id_ = 0;
    static inline int active_ = 0;
    static inline int counter_ = 0;
};

// Puts code into CommandCode(SelectedSlot) and has it carried out in two exchanges,
// then clears it and restores the poll interval. Tells the operator when the
// controller does not answer, when another exchange is running, or when an abort
// interrupted this one.
Exchange EnviaComando(Integer code);

// Poll timer interval in use (the main window's Timer1); set by the exchanges.
void SetPollInterval(int ms);
int PollInterval();
// The main window hands over its timer here while it is loaded.
void SetPollIntervalTarget(std::function<void(int)> apply);
// Bound of one wait step: three poll rounds of the installed slots, at least 3 s.
int ExchangeStepTimeout();

// Operator messages of the exchange guard.
QString SemResposta(int slot);
QString TrocaOcupada();
QString TrocaInterrompidaTexto();
inline const QString kMainTitle = QStringLiteral("Programa Gerenciador de Controladores");

// --- hooks filled by the program (app/) ---------------------------------------------
// Opens the display window of a model (index = model code); empty entries open nothing.
inline std::array<std::function<void()>, 8> DisplayOpeners{};
// "Presets" button of a slot: access gate, then the preset read-back.
inline std::function<void(int slot)> PresetsButton;
// The minute logger's tick.
inline std::function<void()> MinuteTick;
// Menu actions whose windows come from other folders.
inline std::function<void()> OpenReportSelection;
inline std::function<void()> OpenInstallation;  // through the access gate
inline std::function<void()> OpenPortSelection;
inline std::function<void()> OpenHelp;
inline std::function<void()> OpenAbout;

}  // namespace ZUNO1
