#include <cmath>
#include <functional>
#include <gtest/gtest.h>

#include "engine/equations.h"
#include "print/sheet_check.h"

namespace {

struct FaultCase {
    const char* name;
    std::function<void(DesignRecord&)> change;
    const char* description;  // start of the message; empty when the sheet can be printed
};

void PrintTo(const FaultCase& fault, std::ostream* out) { *out << fault.name; }

class SheetCheckTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SheetCheckTest, NamesTheFirstValueTheSheetCannotPrint)
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    LnetworkWorking working;
    FindLnetwork(design, working, "50");
    GetParam().change(design);
    const auto fault = SheetFault(design);
    const std::string expected = GetParam().description;
    if (expected.empty()) {
        EXPECT_FALSE(fault) << *fault;
    } else {
        ASSERT_TRUE(fault);
        EXPECT_EQ(fault->rfind(expected, 0), 0u) << *fault;
    }
}

constexpr float kNaN = NAN;

INSTANTIATE_TEST_SUITE_P(
    Designs, SheetCheckTest,
    ::testing::Values(
        FaultCase{"Default", [](DesignRecord&) {}, ""},
        FaultCase{"ZeroIdc", [](DesignRecord& d) { d.Idc = 0; },
                  "Division by zero: Idc is 0, so Rdc = Supply / Idc cannot be printed."},
        FaultCase{"ZeroIpeak", [](DesignRecord& d) { d.Ipeak = 0; },
                  "Division by zero: Ipeak is 0, so Ron = Saturation / Ipeak cannot be printed."},
        FaultCase{"InvalidC2", [](DesignRecord& d) { d.C2 = kNaN; }, "C2 is not a valid number"},
        FaultCase{"InvalidRload", [](DesignRecord& d) { d.Rload = kNaN; }, "Rload is not a valid number"},
        // A supply current so small that Supply / Idc leaves the single range.
        FaultCase{"RdcOverflows", [](DesignRecord& d) { d.Idc = 1e-38f; }, "Rdc is not a valid number"},
        FaultCase{"RonOverflows", [](DesignRecord& d) { d.Ipeak = 1e-40f; }, "Ron is not a valid number"},
        FaultCase{"FirstInPageOrder",
                  [](DesignRecord& d) {
                      d.Vpeak = kNaN;
                      d.C1 = kNaN;
                  },
                  "C1 is not a valid number"},
        // The network's parts are printed only with the option on.
        FaultCase{"NetworkOffIgnoresItsParts", [](DesignRecord& d) { d.Lnetwork = kNaN; }, ""},
        FaultCase{"NetworkOnChecksItsParts",
                  [](DesignRecord& d) {
                      d.LnetState = 1;
                      d.Cnetwork = kNaN;
                  },
                  "Cnetwork is not a valid number"},
        FaultCase{"LtotalOverflowsWhenPrinted",
                  [](DesignRecord& d) {
                      d.LnetState = 1;
                      d.Lseries = 3e38f;
                      d.Lnetwork = 3e38f;
                  },
                  "Ltotal is not a valid number"},
        // With Rload above Rnetwork no Ltotal is printed, so its sum does not matter.
        FaultCase{"LtotalIgnoredWhenNotPrinted",
                  [](DesignRecord& d) {
                      d.LnetState = 1;
                      d.Rnetwork = 2;
                      d.Lseries = 3e38f;
                      d.Lnetwork = 3e38f;
                  },
                  ""}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

}  // namespace
