#pragma once
// The seven controller models as data: reply layout, sensors, parameters with their
// factory values, and the cycles each start code runs.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// What the binary layout's pair 4 carries for a model.
enum class Pair4 { None, OuterPressure, Humidity, Temp7 };

// Step targets may name these instead of a number.
inline constexpr double kSetpoint = -1001.0;   // temp: the cycle's working temperature
inline constexpr double kSaturated = -1002.0;  // pressure: steam at the present temperature
inline constexpr double kJacket = -1003.0;     // pressure: steam a little above the setpoint

// One phase of a cycle. Values move from where they stand towards the targets.
struct Step {
    int phase;        // phase code reported while the step runs
    double weight;    // duration in units of the phase time
    double temp;      // deg C, or kSetpoint
    double inner;     // bar gauge, or kSaturated
    double outer;     // bar gauge, or kJacket
    double humidity;  // percent
};

struct Cycle {
    int startCode;
    const char* name;
    double setpoint;  // deg C; 0 = taken from the model's setpoint parameter
    std::vector<Step> steps;
};

struct Param {
    const char* name;
    int value;  // factory value as carried on the line (0..9999)
};

struct Model {
    int code;  // model digit 1..7
    const char* name;
    bool decimalLayout;   // temperatures as four decimal digits in tenths
    bool humidityPair13;  // humidity 0..99 in pair 13
    Pair4 pair4;
    double ambient;          // deg C
    double ambientHumidity;  // percent
    // Per sensor T1..T7: share of the rise above ambient that the sensor sees.
    std::array<double, 7> sensorGain;
    int setpointParam;     // parameter holding the working temperature, 0 = none
    double setpointScale;  // parameter units per degree
    int abortPhase;        // phase shown while aborting, -1 = stops at once
    std::vector<Param> params;
    std::vector<Cycle> cycles;

    const Cycle* cycleFor(int startCode) const;
};

inline constexpr int kAbortCode = 8;
inline constexpr int kStopped = 99;
inline constexpr int kRunning = 1;
inline constexpr int kWriteBase = 10;  // code 10+i writes parameter i
inline constexpr int kReadBase = 80;   // code 80+i reads parameter i

const std::vector<Model>& models();
const Model* modelByCode(int code);
// Accepts a model code "1".."7" or a name in any case, with or without blanks and dashes.
const Model* modelByName(std::string_view text);

}  // namespace sim
