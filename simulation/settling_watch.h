// When a transient has reached periodic steady state: the power each period
// delivers and draws, and how far a longer run would still move them.
#pragma once

#include <limits>
#include <vector>

namespace voltra {

// Steady once neither power would change by more than kSteadyChange (a fraction) if
// the run went on, with a margin for the estimate.
class SettlingWatch {
public:
    static constexpr double kSteadyChange = 2e-3;

    void AddPeriod(double outputPower, double inputPower);
    bool Steady() const;
    int Periods() const { return static_cast<int>(output_.size()); }
    // The larger relative change of the two powers from the period before; NaN
    // after the first period.
    double LastChange() const { return lastChange_; }
    // The larger estimate of how far either power is still from its steady value, as
    // a fraction; infinite while the run is too short to tell or still growing.
    double StillToGo() const;

private:
    std::vector<double> output_;
    std::vector<double> input_;
    double lastChange_ = std::numeric_limits<double>::quiet_NaN();
};

}  // namespace voltra
