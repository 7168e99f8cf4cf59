#pragma once
// One simulated controller: its parameters, its cycle and its measurements, driven by
// the command codes of the request frames. Time is passed in, in simulated seconds.
#include <string>
#include <vector>

#include "frames.h"
#include "models.h"

namespace sim {

struct Values {
    double temp = 0;      // process temperature, deg C
    double inner = 0;     // bar gauge
    double outer = 0;     // bar gauge
    double humidity = 0;  // percent
};

class Controller {
  public:
    // phaseSeconds: simulated duration of a step of weight 1.
    Controller(const Model& model, double phaseSeconds);

    const Model& model() const { return *model_; }

    // Carries out the command of one frame addressed to this controller. A start code
    // acts only when the previous frame carried another code, so the repeats of one
    // command never restart a cycle; an abort and a parameter write may repeat freely.
    void command(int code, int value, double now);

    // The reply to the frame just handled. kPerBar: 38 for the 3-bar transducer,
    // 25 for the 5-bar one.
    Reply reply(int slot, double now, double kPerBar);

    // Runs the cycle up to now.
    void advance(double now);

    bool running() const { return cycle_ != nullptr; }
    bool aborting() const { return aborting_; }
    int status() const { return running() ? kRunning : kStopped; }
    int phase() const;
    Values values(double now);
    int param(int i) const;  // 0 when there is no parameter i
    double setpoint() const;

    // Things that happened since the last call, as short log texts.
    std::vector<std::string> takeEvents();

  private:
    void startCycle(const Cycle& c, double now);
    void enterStep(std::size_t index, double at);
    void stop(double at);
    double resolve(double target, double temp, bool pressure) const;
    Values stepValuesAt(double t) const;

    const Model* model_;
    double phaseSeconds_;
    std::vector<int> params_;
    int lastCode_ = 0;
    int pendingRead_ = -1;  // parameter asked for by the frame just handled

    const Cycle* cycle_ = nullptr;
    double cycleSetpoint_ = 0;
    std::size_t step_ = 0;
    double stepStart_ = 0;
    double stepEnd_ = 0;
    Values from_;  // values when the present step (or the idle spell) began
    bool aborting_ = false;
    int lastPhase_ = 0;
    double idleSince_ = 0;

    std::vector<std::string> events_;
};

}  // namespace sim
