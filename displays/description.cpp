#include "displays/description.h"

#include <cstdlib>

#include "platform/format.h"

namespace displays {

namespace {

using ZUNO1::Integer;

constexpr const char* kAutoclaveWarning =
    "Antes de Iniciar o Ciclo , tenha certeza que as portas da autoclave estão fechadas !";

// Phase names by code; null: the code has no name.
constexpr const char* kOxidePhases[] = {
    "Iniciando Ciclo", "Aquecendo",     "Vácuo",   "Umidificação",    "Pressurizando",
    "Estabilização",   "Esterilizando", "Aerando", "Abortando Ciclo",
};
constexpr const char* kNeoPhases[] = {
    "Iniciando Ciclo",  "Aquecendo",        "Vácuo",
    "Umidificação",     "Pressurizando",    "Estabilização",
    "Esterilizando",    "Aeração Pulsante", "Aeração Pulsante",
    "Aeração Pulsante", "Aeração Pulsante", "Aerando",
    "Abortando Ciclo",
};
constexpr const char* kSteamPhases[] = {
    "Iniciando Ciclo", "Vácuo 1",   "Pressão 1",     "Vácuo 2", "Pressão 2",
    "Vácuo 3",         "Aquecendo", "Esterilizando", "Secagem",
};
constexpr const char* kKvsPhases[] = {
    "Iniciando Ciclo", "Vácuo 1",   "Pressão 1",     "Vácuo 2", "Pressão 2",
    "Vácuo 3",         "Aquecendo", "Esterilizando", "Secagem", "Resfriamento",
};
constexpr const char* kTermaPhases[] = {"Iniciando Ciclo", "Aquecendo", "Esterilizando"};
constexpr const char* kWasherPhases[] = {"Aeração", "Aquecendo", "Secando", "Resfriando"};

constexpr FieldDesc temp(const char* name, const char* caption, Source source, int column,
                         int row) {
    return {.name = name, .caption = caption, .source = source, .column = column, .row = row};
}

constexpr FieldDesc pressure(const char* name, const char* caption, Source source, int column) {
    return {.name = name,
            .caption = caption,
            .source = source,
            .pattern = "0.00 bar",
            .block = Block::Process,
            .column = column};
}

constexpr FieldDesc kInnerPressure =
    pressure("Label2", "Pressão Câmara Interna", Source::InnerPressure, 0);

// GZO1 and GZO NEO.
constexpr FieldDesc kOxideFields[] = {
    kInnerPressure,
    {.name = "Label3",
     .caption = "Umidade Relativa",
     .source = Source::Humidity,
     .pattern = "##0 \\%",
     .block = Block::Process,
     .column = 1},
    temp("Label4", "Temperatura Camara Externa", Source::Temp1, 0, 0),
    temp("Label5", "Temperatura Camara Interna", Source::Temp2, 0, 1),
    temp("Label6", "T3", Source::Temp3, 0, 2),
    temp("Label7", "T4", Source::Temp4, 1, 0),
    temp("Label8", "T5", Source::Temp5, 1, 1),
    temp("Label9", "T6", Source::Temp6, 1, 2),
};

constexpr FieldDesc kOxide2Fields[] = {
    kInnerPressure,
    temp("Label4", "Temperatura Câmara Externa (T1 )", Source::Temp1, 0, 0),
    temp("Label5", "Temperatura Câmara Interna ( T2 )", Source::Temp2, 0, 1),
    temp("Label6", "T3", Source::Temp3, 0, 2),
    temp("Label7", "T4", Source::Temp4, 1, 0),
    temp("Label8", "T5", Source::Temp5, 1, 1),
    temp("Label9", "T6", Source::Temp6, 1, 2),
    temp("Label3", "T7", Source::Temp7, 1, 3),
};

// PRX-T and KVS.
constexpr FieldDesc kSteamFields[] = {
    kInnerPressure,
    pressure("Label3", "Pressão Câmara Externa", Source::OuterPressure, 1),
    temp("Label4", "T1", Source::Temp1, 0, 0),
    temp("Label5", "T2", Source::Temp2, 0, 1),
    temp("Label6", "T3", Source::Temp3, 0, 2),
    temp("Label7", "T4", Source::Temp4, 1, 0),
    temp("Label8", "T5", Source::Temp5, 1, 1),
    temp("Label9", "T6", Source::Temp6, 1, 2),
};

constexpr FieldDesc tenths(const char* name, const char* caption, Source source, int column,
                           int row) {
    FieldDesc f = temp(name, caption, source, column, row);
    f.pattern = "##0.0";
    f.divisor = 10;
    return f;
}

constexpr FieldDesc kTermaFields[] = {
    tenths("Label4", "T1", Source::Temp1, 0, 0), tenths("Label5", "T2", Source::Temp2, 0, 1),
    tenths("Label6", "T3", Source::Temp3, 0, 2), tenths("Label7", "T4", Source::Temp4, 1, 0),
    tenths("Label8", "T5", Source::Temp5, 1, 1), tenths("Label9", "T6", Source::Temp6, 1, 2),
};

constexpr FieldDesc led(int member, const char* caption, Source source, int column, int row) {
    constexpr const char* names[] = {"Led1(0)", "Led1(1)", "Led1(2)", "Led1(3)",
                                     "Led1(4)", "Led1(5)", "Led1(6)"};
    return {.kind = Kind::LedTemp,
            .name = names[member],
            .caption = caption,
            .source = source,
            .led = member,
            .ledWidth = 155,
            .column = column,
            .row = row};
}

constexpr FieldDesc kWasherFields[] = {
    {.kind = Kind::LedPlain,
     .name = "Led1(6)",
     .caption = "Umidade Relativa",
     .captionName = "Label3",
     .source = Source::Humidity,
     .led = 6,
     .ledWidth = 75,
     .suffix = "%",
     .suffixName = "Label2",
     .block = Block::Process,
     .column = 0},
    {.kind = Kind::Lot,
     .name = "Text1",
     .caption = "Lote Numero :",
     .captionName = "Label4",
     .block = Block::Process,
     .column = 1},
    led(0, "T1", Source::Temp1, 0, 0),
    led(1, "T2", Source::Temp2, 0, 1),
    led(2, "T3", Source::Temp3, 0, 2),
    led(3, "T4", Source::Temp4, 1, 0),
    led(4, "T5", Source::Temp5, 1, 1),
    led(5, "T6", Source::Temp6, 1, 2),
};

constexpr ButtonDesc kOxideButtons[] = {{"Command2", "Inicia Esterilização", 1}};
constexpr ButtonDesc kPrxButtons[] = {{"Command2", "Pacotes", 1},
                                      {"Command4", "Luvas", 2},
                                      {"Command5", "Liquidos", 3},
                                      {"Command6", "Bowie Dick Usuário", 4}};
constexpr ButtonDesc kKvsButtons[] = {
    {"Command2", "Ciclo E/S", 1}, {"Command4", "Ciclo E/R", 2}, {"Command6", "Vapor Fluente", 3}};
constexpr ButtonDesc kTermaButtons[] = {{"Command2", "Inicia Ciclo", 1}};
constexpr ButtonDesc kWasherButtons[] = {{"Command2", "Inicia Ciclo Aquoso", 1, true},
                                         {"Command4", "Inicia Ciclo Alcoolico", 2, true}};

const ModelDesc kModels[] = {
    {ZUNO1::KVS, "Form8", "Display KVS", kAutoclaveWarning, kKvsPhases, nullptr, kSteamFields,
     kKvsButtons},
    {ZUNO1::PRXT, "Form5", "Display PRXT", kAutoclaveWarning, kSteamPhases, nullptr, kSteamFields,
     kPrxButtons},
    {ZUNO1::GZO1, "Form4", "Display Oxido de Etileno", kAutoclaveWarning, kOxidePhases, nullptr,
     kOxideFields, kOxideButtons},
    {ZUNO1::TERMA, "form15", "Display Terma",
     "Antes de Iniciar o Ciclo , tenha certeza que as portas da terma estão fechadas !",
     kTermaPhases, nullptr, kTermaFields, kTermaButtons},
    {ZUNO1::GZO2, "Form40", "Display Oxido de Etileno 2", kAutoclaveWarning, kOxidePhases, nullptr,
     kOxide2Fields, kOxideButtons},
    {ZUNO1::RT58HW, "form18", "Display RT-58HW",
     "Antes de Iniciar o Ciclo , tenha certeza que a porta da terma esta fechada !", kWasherPhases,
     nullptr, kWasherFields, kWasherButtons},
    {ZUNO1::GZONEO, "form20", "NEO - Display Oxido de Etileno", kAutoclaveWarning, kNeoPhases,
     "Aeração Pulsante", kOxideFields, kOxideButtons},
};

}  // namespace

const ModelDesc* describe(int model) {
    for (const ModelDesc& d : kModels)
        if (d.model == model) return &d;
    return nullptr;
}

QString phaseName(const ModelDesc& desc, int phase) {
    if (phase < 0) return {};
    if (std::size_t(phase) < desc.phases.size())
        return QString::fromUtf8(desc.phases[std::size_t(phase)]);
    return desc.phaseBeyond ? QString::fromUtf8(desc.phaseBeyond) : QString();
}

QString fieldText(const FieldDesc& field, double value) {
    return platform::Format(value / field.divisor, QString::fromUtf8(field.pattern));
}

QString ledTemperatureText(int tenths) {
    // The decoder gives no negative value; one would show with a leading minus.
    const int magnitude = std::abs(tenths);
    return QStringLiteral("%1%2.%3")
        .arg(tenths < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 10)
        .arg(magnitude % 10);
}

QString ledPlainText(double value) {
    return QString::number(value, 'g', 15);
}

double sourceValue(Source source, int slot) {
    using namespace ZUNO1;
    switch (source) {
        case Source::InnerPressure:
            return InnerPressure[slot];
        case Source::OuterPressure:
            return OuterPressure[slot];
        case Source::Humidity:
            return Humidity[slot];
        case Source::Temp1:
            return Temp1[slot];
        case Source::Temp2:
            return Temp2[slot];
        case Source::Temp3:
            return Temp3[slot];
        case Source::Temp4:
            return Temp4[slot];
        case Source::Temp5:
            return Temp5[slot];
        case Source::Temp6:
            return Temp6[slot];
        case Source::Temp7:
            return Temp7[slot];
    }
    return 0;
}

}  // namespace displays
