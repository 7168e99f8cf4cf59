#include "controller.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// Share of a step after which its targets are reached; the rest is a plateau.
constexpr double kApproach = 0.6;
// Cooling and venting after a cycle, in units of the phase time.
constexpr double kIdleTau = 1.5;
// Length of an abort phase, in units of the phase time.
constexpr double kAbortWeight = 0.25;

// Saturated steam, bar gauge (Antoine equation for water, bar and deg C).
double steamPressure(double temp) {
    const double absolute = std::pow(10.0, 5.11564 - 1687.537 / (temp + 230.17));
    return std::max(absolute - 1.01325, -0.95);
}

int toByte(double v) {
    return static_cast<int>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

Controller::Controller(const Model& model, double phaseSeconds)
    : model_(&model), phaseSeconds_(phaseSeconds) {
    for (const Param& p : model.params) params_.push_back(p.value);
    from_ = {model.ambient, 0, 0, model.ambientHumidity};
}

int Controller::param(int i) const {
    return i >= 1 && i <= static_cast<int>(params_.size()) ? params_[i - 1] : 0;
}

double Controller::setpoint() const {
    if (cycle_ && cycle_->setpoint > 0) return cycle_->setpoint;
    if (model_->setpointParam > 0) {
        const double sp = param(model_->setpointParam) / model_->setpointScale;
        return std::clamp(sp, model_->ambient + 5, 300.0);
    }
    return 100;
}

int Controller::phase() const {
    if (!running()) return 0;
    return aborting_ ? model_->abortPhase : cycle_->steps[step_].phase;
}

void Controller::command(int code, int value, double now) {
    advance(now);
    pendingRead_ = -1;
    const int nParams = static_cast<int>(params_.size());
    if (const Cycle* c = model_->cycleFor(code)) {
        if (code != lastCode_) {
            if (!running())
                startCycle(*c, now);
            else
                events_.push_back("start " + std::to_string(code) + " ignored: cycle running");
        }
    } else if (code == kAbortCode) {
        if (running() && !aborting_) {
            events_.push_back("abort");
            if (model_->abortPhase >= 0) {
                from_ = stepValuesAt(now);
                aborting_ = true;
                stepStart_ = now;
                stepEnd_ = now + kAbortWeight * phaseSeconds_;
                events_.push_back("phase " + std::to_string(model_->abortPhase));
            } else {
                stop(now);
            }
        }
    } else if (code > kWriteBase && code <= kWriteBase + nParams) {
        int& p = params_[code - kWriteBase - 1];
        if (p != value) {
            p = value;
            events_.push_back("param " + std::to_string(code - kWriteBase) + "=" +
                              std::to_string(value));
        }
    } else if (code > kReadBase) {
        pendingRead_ = code - kReadBase;
    }
    lastCode_ = code;
}

void Controller::startCycle(const Cycle& c, double now) {
    from_ = values(now);
    cycle_ = &c;
    aborting_ = false;
    events_.push_back("start " + std::to_string(c.startCode) + " " + c.name);
    enterStep(0, now);
}

void Controller::enterStep(std::size_t index, double at) {
    step_ = index;
    stepStart_ = at;
    stepEnd_ = at + cycle_->steps[index].weight * phaseSeconds_;
    events_.push_back("phase " + std::to_string(cycle_->steps[index].phase));
}

void Controller::stop(double at) {
    from_ = stepValuesAt(at);
    cycle_ = nullptr;
    aborting_ = false;
    idleSince_ = at;
    events_.push_back("stopped");
}

void Controller::advance(double now) {
    while (running() && now >= stepEnd_) {
        if (!aborting_ && step_ + 1 < cycle_->steps.size()) {
            from_ = stepValuesAt(stepEnd_);
            enterStep(step_ + 1, stepEnd_);
        } else {
            stop(stepEnd_);
        }
    }
}

double Controller::resolve(double target, double temp, bool pressure) const {
    if (target == kSetpoint && !pressure) return setpoint();
    if (target == kSaturated) return steamPressure(temp);
    if (target == kJacket) return steamPressure(setpoint() + 3);
    return target;
}

Values Controller::stepValuesAt(double t) const {
    // While aborting: hold the temperature, vent the chambers.
    Step s = aborting_ ? Step{model_->abortPhase, kAbortWeight, from_.temp, 0, 0, from_.humidity}
                       : cycle_->steps[step_];
    const double span = std::max(stepEnd_ - stepStart_, 1e-9);
    double a = std::clamp((t - stepStart_) / span / kApproach, 0.0, 1.0);
    a = 1 - (1 - a) * (1 - a);  // eases into the target
    auto mix = [a](double from, double to) { return from + (to - from) * a; };
    Values v;
    v.temp = mix(from_.temp, resolve(s.temp, 0, false));
    v.inner = mix(from_.inner, resolve(s.inner, v.temp, true));
    v.outer = mix(from_.outer, resolve(s.outer, v.temp, true));
    v.humidity = mix(from_.humidity, s.humidity);
    return v;
}

Values Controller::values(double now) {
    advance(now);
    if (running()) return stepValuesAt(now);
    const double f = std::exp(-std::max(now - idleSince_, 0.0) / (kIdleTau * phaseSeconds_));
    const Model& m = *model_;
    return {m.ambient + (from_.temp - m.ambient) * f, from_.inner * f, from_.outer * f,
            m.ambientHumidity + (from_.humidity - m.ambientHumidity) * f};
}

Reply Controller::reply(int slot, double now, double kPerBar) {
    const Values v = values(now);
    const Model& m = *model_;
    Reply r;
    r.slot = slot;
    r.model = m.code;
    auto sensor = [&](int i) { return m.ambient + (v.temp - m.ambient) * m.sensorGain[i]; };
    for (int i = 0; i < 6; ++i) {
        r.temps[i] = m.decimalLayout
                         ? static_cast<int>(std::clamp(std::lround(sensor(i) * 10), 0L, 9999L))
                         : toByte(sensor(i));
    }
    switch (m.pair4) {
        case Pair4::OuterPressure:
            r.pair4 = toByte((v.outer + 1) * kPerBar + 38);
            break;
        case Pair4::Humidity:
            r.pair4 = toByte(v.humidity * 113 / 100 + 28);
            break;
        case Pair4::Temp7:
            r.pair4 = toByte(sensor(6) * 153 / 100 + 38);
            break;
        case Pair4::None:
            break;
    }
    r.pair5 = m.decimalLayout ? 0 : toByte((v.inner + 1) * kPerBar + 38);
    r.status = status();
    r.phase = phase();
    r.humidity = static_cast<int>(std::clamp(std::lround(v.humidity), 0L, 99L));
    if (pendingRead_ >= 0) {
        const int value = param(pendingRead_);
        if (!m.decimalLayout)
            r.param = value;
        else if (pendingRead_ >= 1 && pendingRead_ <= static_cast<int>(params_.size()))
            r.temps[5] = value;  // the read-back shares pairs 14/15 with T6
    }
    return r;
}

std::vector<std::string> Controller::takeEvents() {
    std::vector<std::string> out;
    out.swap(events_);
    return out;
}

}  // namespace sim
