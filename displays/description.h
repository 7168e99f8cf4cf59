#pragma once
// What sets the seven display windows apart: captions, phase names, measurement fields
// and cycle buttons, one description per model.
#include <QString>
#include <span>

#include "supervisor/zuno1.h"

namespace displays {

// Slot-table entry a field shows.
enum class Source {
    InnerPressure,
    OuterPressure,
    Humidity,
    Temp1,
    Temp2,
    Temp3,
    Temp4,
    Temp5,
    Temp6,
    Temp7
};

enum class Kind {
    Label,     // a text label through a number pattern
    LedTemp,   // LED panel, tenths of a degree as "25.3"
    LedPlain,  // LED panel, the plain decimal text of the value
    Lot,       // the lot box (no slot-table value)
};

// Fields stand in two blocks: the process block (pressures, humidity, lot) on top, the
// temperatures under their heading.
enum class Block { Process, Temperatures };

struct FieldDesc {
    Kind kind = Kind::Label;
    const char* name = "";              // control showing the value: "Label2", "Led1(0)", "Text1"
    const char* caption = "";           // text of the caption left of the value
    const char* captionName = nullptr;  // control name of the caption; null: name + "Caption"
    Source source = Source::Temp1;
    const char* pattern = "##0";   // Kind::Label
    double divisor = 1.0;          // Kind::Label: the value is divided by it first
    int led = -1;                  // member of Led1
    int ledWidth = 0;              // pixels
    const char* suffix = nullptr;  // text right of the value ("%")
    const char* suffixName = nullptr;
    Block block = Block::Temperatures;
    int column = 0;  // 0 left, 1 right
    int row = 0;     // within its block and column
};

struct ButtonDesc {
    const char* name;
    const char* caption;
    ZUNO1::Integer code;
    bool storesLot = false;
};

struct ModelDesc {
    int model;              // InstalledModel code
    const char* className;  // window class
    const char* caption;
    const char* warning;
    std::span<const char* const> phases;  // by phase code; null: no name
    const char* phaseBeyond;              // name of the codes past the table; null: none
    std::span<const FieldDesc> fields;
    std::span<const ButtonDesc> buttons;  // the cycle buttons; "Aborta Ciclo" and "Ok" are common
};

// Description of model 1..7; nullptr for any other code.
const ModelDesc* describe(int model);

// Name of a phase code in a model's table; empty when it has none.
QString phaseName(const ModelDesc& desc, int phase);

// Texts of the values as the windows show them.
QString fieldText(const FieldDesc& field, double value);  // Kind::Label
QString ledTemperatureText(int tenths);                   // 253 -> "25.3", always a full stop
QString ledPlainText(double value);                       // 57 -> "57"

double sourceValue(Source source, int slot);

}  // namespace displays
