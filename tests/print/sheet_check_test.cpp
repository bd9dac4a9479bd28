#include <cmath>
#include <gtest/gtest.h>

#include "print/sheet_check.h"
#include "test_design.h"

namespace {

struct FaultCase {
    const char* name;
    std::int16_t lnetState;
    void (*change)(DesignRecord&);
    std::string description;  // start of the message; empty when the sheet can be printed
};
void PrintTo(const FaultCase& fault, std::ostream* out) { *out << fault.name; }

class SheetCheckTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SheetCheckTest, NamesTheFirstValueTheSheetCannotPrint)
{
    DesignRecord design = DesignWith("50", GetParam().lnetState);
    GetParam().change(design);
    const std::string fault = SheetFault(design).value_or("");
    EXPECT_EQ(fault.substr(0, GetParam().description.size()), GetParam().description);
    EXPECT_EQ(fault.empty(), GetParam().description.empty()) << fault;
}

INSTANTIATE_TEST_SUITE_P(
    Designs, SheetCheckTest,
    ::testing::Values(
        FaultCase{"Default", 1, [](DesignRecord&) {}, ""},
        FaultCase{"ZeroIdc", 0, [](DesignRecord& d) { d.Idc = 0; },
                  "Division by zero: Idc is 0, so Rdc = Supply / Idc cannot be printed."},
        FaultCase{"ZeroIpeak", 0, [](DesignRecord& d) { d.Ipeak = 0; },
                  "Division by zero: Ipeak is 0, so Ron = Saturation / Ipeak cannot be printed."},
        FaultCase{"FirstInPageOrder", 0, [](DesignRecord& d) { d.Vpeak = d.C2 = NAN; }, "C2 is not a valid number"},
        // Quotients beyond the single range, from divisors that are not zero.
        FaultCase{"RdcOverflows", 0, [](DesignRecord& d) { d.Idc = 1e-38f; }, "Rdc is not a valid number"},
        FaultCase{"RonOverflows", 0, [](DesignRecord& d) { d.Ipeak = 1e-40f; }, "Ron is not a valid number"},
        // The network's parts count only while they are printed.
        FaultCase{"NetworkOff", 0, [](DesignRecord& d) { d.Cnetwork = NAN; }, ""},
        FaultCase{"NetworkOn", 1, [](DesignRecord& d) { d.Cnetwork = NAN; }, "Cnetwork is not a valid number"},
        FaultCase{"LtotalPrinted", 1, [](DesignRecord& d) { d.Lseries = d.Lnetwork = 3e38f; },
                  "Ltotal is not a valid number"},
        FaultCase{"LtotalNotPrinted", 1,
                  [](DesignRecord& d) {
                      d.Rnetwork = 2;
                      d.Lseries = d.Lnetwork = 3e38f;
                  },
                  ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
