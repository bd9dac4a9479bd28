// Device files as a user writes them and as the transistor database exchanges them:
// every field arrives in SI units, and every fault is refused with a message that
// names the file and the field.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "engine/junction_law.h"
#include "files/device_file.h"
#include "tests/files/file_test_support.h"

namespace voltra {
namespace {

using nlohmann::json;

json Minimal()
{
    return json::parse(R"({
        "format": "voltra-device", "version": 1, "name": "Test FET",
        "drain_voltage_max_V": 60, "drain_current_continuous_A": 0.5,
        "on_resistance_25C_ohm": 1.2,
        "output_capacitance": {"junction_law": {"cj0_pF": 16.604, "vj_V": 0.474, "m": 0.283}}
    })");
}

DeviceRead Parse(const json& file) { return ParseDeviceText(file.dump(), "test.json"); }

TEST(DeviceFile, ReadsEveryFieldInSiUnits)
{
    json file = Minimal();
    file["manufacturer"] = "Maker";
    file["datasheet"] = "Maker FET data sheet, rev. 3";
    file["drain_current_pulsed_A"] = 1.2;
    file["on_resistance_rise"] = {{"normalised", {{150, 1.9}, {25, 1}, {-55, 0.7}}}};
    file["gate_charge_nC"] = 2.5;
    file["gate_drive_V"] = 10;
    file["thermal_resistance_junction_case_K_per_W"] = 83.3;
    file["junction_temperature_max_C"] = 150;
    file["sources"] = {{"drain_voltage_max_V", "Table 1"}};
    file["comment"] = "hand-written";
    const DeviceRead read = Parse(file);
    ASSERT_TRUE(read.device) << read.error;
    const Transistor& d = *read.device;
    EXPECT_EQ(d.name, "Test FET");
    EXPECT_EQ(d.manufacturer, "Maker");
    EXPECT_EQ(d.datasheet, "Maker FET data sheet, rev. 3");
    EXPECT_EQ(d.maxDrainVolts, 60);
    EXPECT_EQ(d.continuousDrainAmps, 0.5);
    EXPECT_EQ(d.pulsedDrainAmps, 1.2);
    EXPECT_EQ(d.onResistance25, 1.2);
    EXPECT_DOUBLE_EQ(d.coss.cj0, 16.604e-12);
    EXPECT_EQ(d.coss.vj, 0.474);
    EXPECT_EQ(d.coss.m, 0.283);
    EXPECT_TRUE(d.cossTable.empty());
    ASSERT_EQ(d.onResistanceRise.size(), 3u);
    EXPECT_EQ(d.onResistanceRise.front().celsius, -55);  // sorted
    EXPECT_DOUBLE_EQ(OnResistanceAt(d, 150), 1.2 * 1.9);
    EXPECT_DOUBLE_EQ(*d.gateCharge, 2.5e-9);
    EXPECT_EQ(d.driveVolts, 10);
    EXPECT_EQ(d.thetaJunctionCase, 83.3);
    EXPECT_EQ(d.maxJunctionCelsius, 150);
}

TEST(DeviceFile, OptionalFieldsStayUnknownRatherThanZero)
{
    const DeviceRead read = Parse(Minimal());
    ASSERT_TRUE(read.device) << read.error;
    EXPECT_FALSE(read.device->pulsedDrainAmps);
    EXPECT_FALSE(read.device->gateCharge);
    EXPECT_FALSE(read.device->thetaJunctionCase);
    EXPECT_FALSE(read.device->maxJunctionCelsius);
    EXPECT_TRUE(read.device->onResistanceRise.empty());
}

TEST(DeviceFile, FitsATableAndKeepsTheFitsDeviation)
{
    const JunctionLaw law{16.604e-12, 0.474, 0.283};
    json points = json::array();
    for (const double v : {0.0, 1.0, 5.0, 20.0, 60.0}) points.push_back({v, Capacitance(law, v) * 1e12});
    json file = Minimal();
    file["output_capacitance"] = {{"points_V_pF", points}};
    file["on_resistance_rise"] = {{"per_kelvin", 0.007}};
    const DeviceRead read = Parse(file);
    ASSERT_TRUE(read.device) << read.error;
    EXPECT_NEAR(read.device->coss.cj0 / law.cj0, 1, 1e-6);
    EXPECT_NEAR(read.device->coss.m, law.m, 1e-6);
    EXPECT_EQ(read.device->cossTable.size(), 5u);
    EXPECT_LT(read.device->cossFitWorstError, 1e-8);
    EXPECT_DOUBLE_EQ(OnResistanceAt(*read.device, 125), 1.2 * 1.7);
}

TEST(DeviceFile, TakesTheLawFromATablesEffectiveCapacitances)
{
    // Coss, Co(er) and Co(tr) at 400 V of the law 1.2 nF/(1 + V/6.5)^0.5, as a data
    // sheet's table would quote them.
    const JunctionLaw law{1.2e-9, 6.5, 0.5};
    json file = Minimal();
    file["output_capacitance"] = {{"effective_pF",
                                   {{"at_V", 400},
                                    {"coss", Capacitance(law, 400) * 1e12},
                                    {"co_er", EnergyEquivalentCapacitance(law, 400) * 1e12},
                                    {"co_tr", ChargeEquivalentCapacitance(law, 400) * 1e12}}}};
    const DeviceRead read = Parse(file);
    ASSERT_TRUE(read.device) << read.error;
    EXPECT_NEAR(read.device->coss.m, 0.5, 1e-6);
    EXPECT_NEAR(Charge(read.device->coss, 400) / Charge(law, 400), 1, 1e-9);

    file["output_capacitance"]["effective_pF"]["co_er"] = 1;  // below Coss
    const DeviceRead bad = Parse(file);
    EXPECT_FALSE(bad.device);
    EXPECT_NE(bad.error.find("Co(er)"), std::string::npos) << bad.error;
}

TEST(DeviceFile, RefusesFaultsNamingTheFileAndTheField)
{
    struct Case {
        const char* what;
        void (*spoil)(json&);
        const char* says;
    };
    const Case cases[] = {
        {"missing rating", [](json& f) { f.erase("drain_voltage_max_V"); }, "drain_voltage_max_V"},
        {"misspelt field", [](json& f) { f["gate_charge_nc"] = 2; }, "gate_charge_nc"},
        {"text for a number", [](json& f) { f["on_resistance_25C_ohm"] = "1.2"; }, "on_resistance_25C_ohm"},
        {"negative current", [](json& f) { f["drain_current_continuous_A"] = -1; }, "drain_current_continuous_A"},
        {"charge without drive", [](json& f) { f["gate_charge_nC"] = 2; }, "gate_drive_V"},
        {"two capacitance forms",
         [](json& f) { f["output_capacitance"]["points_V_pF"] = {{0, 10}, {1, 9}, {2, 8}}; }, "output_capacitance"},
        {"two-point table", [](json& f) { f["output_capacitance"] = {{"points_V_pF", {{0, 10}, {5, 6}}}}; },
         "points_V_pF"},
        {"law without m", [](json& f) { f["output_capacitance"]["junction_law"].erase("m"); }, "\"m\""},
        {"rise at one temperature twice",
         [](json& f) { f["on_resistance_rise"] = {{"normalised", {{25, 1}, {25, 1.1}}}}; }, "normalised"},
        {"newer version", [](json& f) { f["version"] = 2; }, "version"},
        {"other format", [](json& f) { f["format"] = "something-else"; }, "format"},
        {"no name", [](json& f) { f["name"] = ""; }, "name"},
    };
    for (const Case& c : cases) {
        json file = Minimal();
        c.spoil(file);
        const DeviceRead read = Parse(file);
        EXPECT_FALSE(read.device) << c.what;
        EXPECT_EQ(read.error.rfind("test.json: ", 0), 0u) << c.what << ": " << read.error;
        EXPECT_NE(read.error.find(c.says), std::string::npos) << c.what << ": " << read.error;
    }
    EXPECT_NE(ParseDeviceText("{not json", "x.json").error.find("not a JSON file"), std::string::npos);
    EXPECT_NE(ParseDeviceText("[1, 2]", "x.json").error.find("not a device file"), std::string::npos);
    EXPECT_NE(ParseDeviceText(R"({"name": "x"})", "x.json").error.find("neither"), std::string::npos);
}

// A transistor-database file as that database writes one: SI units, curves as
// [[x...], [y...]], the switch's own data under "switch".
json TransistorDatabaseFile()
{
    const JunctionLaw law{1.2e-9, 2.0, 0.45};
    json coss = json::array({json::array(), json::array()});
    for (const double v : {0.0, 2.0, 10.0, 50.0, 200.0, 600.0}) {
        coss[0].push_back(v);
        coss[1].push_back(Capacitance(law, v));
    }
    // Output curves: 60 mΩ at 25 °C, 105 mΩ at 150 °C at the 18 V drive; a 12 V curve
    // with a higher resistance that must not be taken for the on-resistance.
    const auto curve = [](double ohms) {
        return json::array({json::array({0.0, 0.6, 1.2, 2.4}), json::array({0.0, 0.6 / ohms, 1.2 / ohms, 2.4 / ohms})});
    };
    return {{"name", "Maker_SIC650"},
            {"type", "SiC-MOSFET"},
            {"manufacturer", "Maker"},
            {"datasheet_hyperlink", "https://example.org/sic650.pdf"},
            {"datasheet_version", "REV-001"},
            {"v_abs_max", 650},
            {"i_abs_max", 95},
            {"i_cont", 38},
            {"c_oss", json::array({{{"t_j", 25}, {"graph_v_c", coss}}})},
            {"switch",
             {{"t_j_max", 175},
              {"thermal_foster", {{"r_th_total", 0.73}, {"r_th_vector", nullptr}}},
              {"channel", json::array({{{"t_j", 25}, {"v_g", 18}, {"graph_v_i", curve(0.060)}},
                                       {{"t_j", 25}, {"v_g", 12}, {"graph_v_i", curve(0.090)}},
                                       {{"t_j", 150}, {"v_g", 18}, {"graph_v_i", curve(0.105)}}})},
              {"charge_curve",
               json::array({{{"t_j", 25},
                             {"v_supply", 400},
                             {"i_channel", 20},
                             {"graph_q_v", json::array({json::array({0.0, 20e-9, 58e-9}),
                                                        json::array({0.0, 7.0, 18.0})})}}})}}}};
}

TEST(TransistorDatabase, TakesTheFieldsItCarries)
{
    const DeviceRead read = Parse(TransistorDatabaseFile());
    ASSERT_TRUE(read.device) << read.error;
    const Transistor& d = *read.device;
    EXPECT_EQ(d.name, "Maker_SIC650");
    EXPECT_EQ(d.manufacturer, "Maker");
    EXPECT_EQ(d.datasheet, "https://example.org/sic650.pdf, REV-001");
    EXPECT_EQ(d.maxDrainVolts, 650);
    EXPECT_EQ(d.continuousDrainAmps, 38);
    EXPECT_EQ(d.pulsedDrainAmps, 95);
    EXPECT_NEAR(d.coss.cj0 / 1.2e-9, 1, 1e-6);
    EXPECT_NEAR(d.coss.vj / 2.0, 1, 1e-5);
    EXPECT_NEAR(d.coss.m, 0.45, 1e-6);
    EXPECT_NEAR(d.onResistance25, 0.060, 1e-12);
    EXPECT_NEAR(OnResistanceAt(d, 150), 0.105, 1e-12);
    EXPECT_EQ(d.maxJunctionCelsius, 175);
    EXPECT_EQ(d.thetaJunctionCase, 0.73);
    EXPECT_DOUBLE_EQ(*d.gateCharge, 58e-9);
    EXPECT_EQ(d.driveVolts, 18);
}

TEST(TransistorDatabase, SaysWhichFieldsItLacks)
{
    json file = TransistorDatabaseFile();
    file.erase("i_cont");
    file.erase("c_oss");
    file["switch"].erase("channel");
    const DeviceRead read = Parse(file);
    EXPECT_FALSE(read.device);
    for (const char* field : {"i_cont", "c_oss", "channel"})
        EXPECT_NE(read.error.find(field), std::string::npos) << read.error;

    // A fixed capacitance is the law with m = 0.
    file = TransistorDatabaseFile();
    file.erase("c_oss");
    file["c_oss_fix"] = 5.5e-11;
    const DeviceRead fixed = Parse(file);
    ASSERT_TRUE(fixed.device) << fixed.error;
    EXPECT_DOUBLE_EQ(Capacitance(fixed.device->coss, 400), 5.5e-11);
}

TEST(TransistorDatabase, PrefersTheOnResistanceCurveToTheOutputCurves)
{
    // The reverse-conduction entry (negative channel current) is passed over for the
    // forward one; 25 °C lies between two of its points.
    json file = TransistorDatabaseFile();
    const auto curve = [](double t0, double t1, double t2, double r0, double r1, double r2) {
        return json::array({json::array({t0, t1, t2}), json::array({r0, r1, r2})});
    };
    const json reverse = {
        {"i_channel", -13}, {"dataset_type", "t_r"}, {"graph_t_r", curve(-25, 25, 150, 0.05, 0.05, 0.05)}};
    const json forward = {
        {"i_channel", 13}, {"dataset_type", "t_r"}, {"graph_t_r", curve(-25, 0, 150, 0.068, 0.064, 0.0825)}};
    file["switch"]["r_channel_th"] = json::array({reverse, forward});
    const DeviceRead read = Parse(file);
    ASSERT_TRUE(read.device) << read.error;
    const double at25 = 0.064 + (0.0825 - 0.064) * 25 / 150;
    EXPECT_NEAR(read.device->onResistance25, at25, 1e-12);
    EXPECT_NEAR(OnResistanceAt(*read.device, 150), 0.0825, 1e-12);
    EXPECT_NEAR(OnResistanceAt(*read.device, -25), 0.068, 1e-12);

    // A normalised curve is scaled by its nominal resistance.
    file["switch"]["r_channel_th"] = json::array({{{"i_channel", 13},
                                                   {"dataset_type", "t_factor"},
                                                   {"r_channel_nominal", 0.06},
                                                   {"graph_t_r", curve(25, 100, 150, 1.0, 1.3, 1.6)}}});
    const DeviceRead factor = Parse(file);
    ASSERT_TRUE(factor.device) << factor.error;
    EXPECT_NEAR(factor.device->onResistance25, 0.06, 1e-12);
    EXPECT_NEAR(OnResistanceAt(*factor.device, 150), 0.096, 1e-12);
}

TEST(TransistorDatabase, LeavesOutAGateChargeNoDataSheetCouldGive)
{
    // Seen in a published file: the charge axis in nC and the voltage axis scaled by 1e-9,
    // which read as given would make 58 C at 18 nV.
    json file = TransistorDatabaseFile();
    file["switch"]["charge_curve"][0]["graph_q_v"] =
        json::array({json::array({0.0, 10.7, 58.19}), json::array({9.4e-11, 6.8e-9, 1.797e-8})});
    const DeviceRead read = Parse(file);
    ASSERT_TRUE(read.device) << read.error;
    EXPECT_FALSE(read.device->gateCharge);
    EXPECT_FALSE(read.device->driveVolts);
}

class DeviceFileOnDisk : public ScratchDirTest {};

TEST_F(DeviceFileOnDisk, ReadsAFileAndNamesAnUnreadableOne)
{
    WriteBytes(dir_ / "fet.json", Minimal().dump(2));
    const DeviceRead read = ReadDeviceFile(dir_ / "fet.json");
    ASSERT_TRUE(read.device) << read.error;
    EXPECT_EQ(read.device->name, "Test FET");

    const DeviceRead missing = ReadDeviceFile(dir_ / "none.json");
    EXPECT_FALSE(missing.device);
    EXPECT_NE(missing.error.find("none.json"), std::string::npos);
    fs::create_directory(dir_ / "folder.json");
    EXPECT_FALSE(ReadDeviceFile(dir_ / "folder.json").device);
}

}  // namespace
}  // namespace voltra
