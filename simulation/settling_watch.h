// When a transient has reached periodic steady state: the power each period
// delivers and draws, against the period before.
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
    int periods_ = 0;
    double previousOutput_ = 0;
    double previousInput_ = 0;
    double lastChange_ = std::numeric_limits<double>::quiet_NaN();
};

}  // namespace voltra
