// When a transient has reached periodic steady state: the power each period
// delivers and draws, against the periods before.
#pragma once

#include <limits>

namespace voltra {

class SettlingWatch {
public:
    void AddPeriod(double outputPower, double inputPower);
    bool Steady() const;
    int Periods() const { return periods_; }
    // The larger relative change of the two powers from the period before; NaN
    // after the first period.
    double LastChange() const { return lastChange_; }

private:
    // One power's last two changes, and what a geometric settling still has to go.
    struct Trace {
        double previous = 0;
        double lastStep = std::numeric_limits<double>::quiet_NaN();
        double stepBefore = std::numeric_limits<double>::quiet_NaN();
        void Add(double power);
        double Step(double power) const;
        double StillToGo(double power) const;
    };

    int periods_ = 0;
    Trace output_;
    Trace input_;
    double lastOutput_ = 0;
    double lastInput_ = 0;
    double lastChange_ = std::numeric_limits<double>::quiet_NaN();
};

}  // namespace voltra
