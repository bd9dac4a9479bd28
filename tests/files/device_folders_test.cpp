// The device folders: which folder is the user's, what `voltra devices` lists, how a
// name or a file is looked up; the installed examples and the core table read clean.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "engine/chosen_device.h"
#include "engine/junction_law.h"
#include "files/core_table.h"
#include "files/device_folders.h"
#include "tests/files/file_test_support.h"

namespace voltra {
namespace {

std::string DeviceText(const std::string& name, double vmax = 60)
{
    nlohmann::json file = {{"format", "voltra-device"},
                           {"version", 1},
                           {"name", name},
                           {"drain_voltage_max_V", vmax},
                           {"drain_current_continuous_A", 1},
                           {"on_resistance_25C_ohm", 0.5},
                           {"output_capacitance", {{"junction_law", {{"cj0_pF", 50}, {"vj_V", 0.7}, {"m", 0.5}}}}}};
    return file.dump(2);
}

class DeviceFolders : public ScratchDirTest {
protected:
    void SetUp() override
    {
        ScratchDirTest::SetUp();
        fs::create_directories(user_);
        fs::create_directories(installed_);
    }
    const fs::path user_ = dir_ / "user";
    const fs::path installed_ = dir_ / "installed";
};

TEST_F(DeviceFolders, ListsOneNameALineInNameOrderTheUsersFirst)
{
    WriteBytes(installed_ / "b.json", DeviceText("IRF510"));
    WriteBytes(installed_ / "a.json", DeviceText("BS170"));
    WriteBytes(user_ / "mine.json", DeviceText("IRF510", 100));  // hides the installed one
    WriteBytes(user_ / "zz.json", DeviceText("2N7000"));
    WriteBytes(user_ / "notes.txt", "not a device");
    WriteBytes(user_ / "broken.json", "{");
    const DeviceListing listing = ListDevices({user_, installed_, dir_ / "missing"});
    EXPECT_EQ(DeviceNamesText(listing), "2N7000\nBS170\nIRF510\n");
    ASSERT_EQ(listing.devices.size(), 3u);
    EXPECT_EQ(listing.devices[2].file, user_ / "mine.json");
    ASSERT_EQ(listing.problems.size(), 1u);
    EXPECT_NE(listing.problems[0].find("broken.json"), std::string::npos);
    EXPECT_EQ(DeviceNamesText(ListDevices({dir_ / "missing"})), "");
}

TEST_F(DeviceFolders, FindsByFileByNameAndByNameInAnotherCase)
{
    WriteBytes(installed_ / "a.json", DeviceText("BS170"));
    WriteBytes(dir_ / "loose.json", DeviceText("Loose FET"));
    const std::vector<fs::path> folders{user_, installed_};

    const DeviceRead byFile = FindDevice((dir_ / "loose.json").string(), folders);
    ASSERT_TRUE(byFile.device) << byFile.error;
    EXPECT_EQ(byFile.device->name, "Loose FET");
    const DeviceRead byName = FindDevice("BS170", folders);
    ASSERT_TRUE(byName.device) << byName.error;
    EXPECT_EQ(byName.device->name, "BS170");
    const DeviceRead byCase = FindDevice("bs170", folders);
    ASSERT_TRUE(byCase.device) << byCase.error;

    const DeviceRead none = FindDevice("IRF510", folders);
    EXPECT_FALSE(none.device);
    EXPECT_NE(none.error.find("IRF510"), std::string::npos);

    WriteBytes(user_ / "b.json", DeviceText("Bs170"));
    EXPECT_EQ(FindDevice("BS170", folders).device->name, "BS170");  // exact wins
    const DeviceRead ambiguous = FindDevice("bs170", folders);
    EXPECT_FALSE(ambiguous.device);
    EXPECT_NE(ambiguous.error.find("several"), std::string::npos);
}

TEST_F(DeviceFolders, TheUsersFolderFollowsTheDataFolderRules)
{
    ::setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(UserDeviceFolder(), fs::path("/srv/data/voltra/devices"));
    EXPECT_EQ(UserCoreTable(), fs::path("/srv/data/voltra/cores.json"));
    ::setenv("XDG_DATA_HOME", "relative/data", 1);  // ignored, as the rules say
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(UserDeviceFolder(), fs::path("/home/someone/.local/share/voltra/devices"));
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("HOME");
    EXPECT_TRUE(UserDeviceFolder().empty());
    EXPECT_TRUE(UserCoreTable().empty());
    EXPECT_EQ(voltra::DeviceFolders(), std::vector<fs::path>{InstalledDeviceFolder()});
    EXPECT_EQ(InstalledDeviceFolder().filename(), "devices");
}

TEST(InstalledData, EveryExampleDeviceReadsAndNamesItsDataSheet)
{
    const fs::path folder = fs::path(VOLTRA_SOURCE_DATA_DIR) / "devices";
    const DeviceListing listing = ListDevices({folder});
    EXPECT_TRUE(listing.problems.empty()) << listing.problems.front();
    for (const DeviceEntry& entry : listing.devices) {
        const DeviceRead read = ReadDeviceFile(entry.file);
        ASSERT_TRUE(read.device) << read.error;
        EXPECT_FALSE(read.device->datasheet.empty()) << entry.name;
        EXPECT_FALSE(read.device->manufacturer.empty()) << entry.name;
    }
}

// The installed GaN device's Coss curve, fitted by the junction law, against the two
// numbers its data sheet's table gives at 400 V (GaN Systems GS66506T, Rev 200402):
// the energy-related Co(er) = 73 pF and the time-related Co(tr) = 117 pF.
TEST(InstalledData, TheGaNDevicesFittedCurveGivesItsDataSheetsEffectiveCapacitances)
{
    const DeviceRead read = ReadDeviceFile(fs::path(VOLTRA_SOURCE_DATA_DIR) / "devices" / "GaNSystems_GS66506T.json");
    ASSERT_TRUE(read.device) << read.error;
    const JunctionLaw& law = read.device->coss;
    const double energy = EnergyEquivalentCapacitance(law, 400), charge = ChargeEquivalentCapacitance(law, 400);
    std::printf("GS66506T: Cj0 %.4g pF, Vj %.4g V, m %.4g; worst fit error %.1f %%; Co(er) %.4g pF, Co(tr) %.4g pF at 400 V\n",
                law.cj0 * 1e12, law.vj, law.m, 100 * read.device->cossFitWorstError, energy * 1e12, charge * 1e12);
    // The digitised curve and the table agree through the fit to within a tenth; the
    // knee of a GaN device's Coss, which one law cannot follow, keeps it from closer,
    // and the design says so on C1.
    EXPECT_NEAR(energy / 73e-12, 1, 0.1);
    EXPECT_NEAR(charge / 117e-12, 1, 0.1);
    EXPECT_GT(read.device->cossFitWorstError, kLargestTrustedFitError);
    EXPECT_NEAR(read.device->maxDrainVolts, 650, 0);
    EXPECT_NEAR(OnResistanceAt(*read.device, 25) / 0.067, 1, 0.01);
}

TEST(InstalledData, TheCoreTableReadsAndEveryCoreIsWhole)
{
    const CoreTable table = ReadCoreTable(fs::path(VOLTRA_SOURCE_DATA_DIR) / "cores.json");
    ASSERT_TRUE(table.error.empty()) << table.error;
    for (const ToroidCore& core : table.cores) {
        EXPECT_FALSE(core.name.empty());
        EXPECT_GT(core.inductanceFactor, 0) << core.name;
        EXPECT_LT(core.innerDiameter, core.outerDiameter) << core.name;
        // The effective section cannot exceed the core's geometric one.
        EXPECT_LE(core.area, (core.outerDiameter - core.innerDiameter) / 2 * core.height * 1.001) << core.name;
    }
}

TEST(CoreTable, RefusesAnIncompleteCore)
{
    const std::string good = R"({"format": "voltra-cores", "version": 1, "cores": [
        {"name": "T-1", "material": "2", "catalogue": "c", "al_nH_per_turn2": 4.9, "od_mm": 12.7,
         "id_mm": 7.7, "height_mm": 4.83, "ae_mm2": 11.2, "le_mm": 32}]})";
    const CoreTable table = ParseCoreTable(good, "cores.json");
    ASSERT_TRUE(table.error.empty()) << table.error;
    ASSERT_EQ(table.cores.size(), 1u);
    EXPECT_DOUBLE_EQ(table.cores[0].inductanceFactor, 4.9e-9);
    EXPECT_DOUBLE_EQ(table.cores[0].area, 11.2e-6);

    const std::pair<const char*, const char*> spoils[] = {{"\"ae_mm2\": 11.2", "\"ae_mm2\": 0"},
                                                          {"\"id_mm\": 7.7", "\"id_mm\": 13"},
                                                          {"\"le_mm\"", "\"le\""},
                                                          {"voltra-cores", "other"}};
    for (const auto& [from, to] : spoils) {
        std::string spoilt = good;
        spoilt.replace(spoilt.find(from), std::string(from).size(), to);
        const CoreTable bad = ParseCoreTable(spoilt, "cores.json");
        EXPECT_TRUE(bad.cores.empty()) << to;
        EXPECT_EQ(bad.error.rfind("cores.json: ", 0), 0u) << bad.error;
    }
}

}  // namespace
}  // namespace voltra
