// Design and last-session files through their four public routines: what is
// written, what is read back, and how out-of-range and damaged files are handled.
#include "files/design_file.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

#include "file_test_support.h"

namespace {

// A file of the shared layout holding the given six value texts, in file order.
std::string FileWith(const std::vector<std::string>& values, const std::string& eol = "\r\n")
{
    static const char* const labels[] = {"Frequency: ", "Supply voltage: ", "Saturation voltage: ",
                                         "Power output: ", "Network Q: ", "Falltime: "};
    std::string text = "title" + eol + "date" + eol;
    for (std::size_t i = 0; i < values.size(); ++i) text += labels[i] + values[i] + eol;
    return text;
}

const std::vector<std::string> kValidValues = {"4000000", "24", "1", "50", "5", "0"};

std::vector<float> TargetsOf(const DesignRecord& d)
{
    return {d.Frequency, d.Supply, d.Saturation, d.Power, d.NetworkQ, d.Falltime};
}

class DesignFileTest : public ScratchDirTest {
protected:
    DesignRecord ReadDesign(const std::string& content)
    {
        WriteBytes(Path("in.VLT"), content);
        DesignRecord design;
        ReadDesignFile(Path("in.VLT"), design, sink_);
        return design;
    }
    DesignRecord ReadSession(const std::string& content, const std::string& name = kLastSessionFileName)
    {
        WriteBytes(Path(name), content);
        DesignRecord design;
        ReadLastSession(design, sink_);
        return design;
    }
};

bool IsDateTimeLine(const std::string& line)
{
    int month, day, year, hour, minute, second, length = 0;
    char half[3] = {};
    return std::sscanf(line.c_str(), "%d/%d/%d %d:%d:%d %2[AP]M%n", &month, &day, &year, &hour, &minute, &second,
                       half, &length) == 7 &&
           length == static_cast<int>(line.size());
}

TEST_F(DesignFileTest, StartupDesignIsWrittenLineForLine)
{
    DesignRecord design;
    StartupValues(design);
    WriteDesignFile(Path("start.VLT"), design, sink_);
    WriteLastSession(design, sink_);
    const std::vector<std::string> values = {"Frequency: 4000000",    "Supply voltage: 24", "Saturation voltage: 1",
                                             "Power output: 50", "Network Q: 5",       "Falltime: 1E-09"};
    std::vector<std::string> lines = LinesOf(ReadBytes(Path("start.VLT")));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_TRUE(IsDateTimeLine(lines[2])) << lines[2];
    lines[2] = "date";
    std::vector<std::string> expected = {Path("start.VLT"), "", "date", ""};
    expected.insert(expected.end(), values.begin(), values.end());
    EXPECT_EQ(lines, expected);

    lines = LinesOf(ReadBytes(Path(kLastSessionFileName)));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_TRUE(IsDateTimeLine(lines[1])) << lines[1];
    lines[1] = "date";
    expected = {"Voltra last-session file", "date", ""};
    expected.insert(expected.end(), values.begin(), values.end());
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(sink_.messages.empty());
}

// Any value a user could type comes back rounded to seven significant digits, so a
// value of seven digits or fewer comes back bit for bit.
TEST_F(DesignFileTest, RandomDesignsRoundTripAtSevenDigits)
{
    std::mt19937 random(2026);
    auto logUniform = [&](double low, double high) {
        return static_cast<float>(low * std::pow(high / low, std::uniform_real_distribution<>(0, 1)(random)));
    };
    auto sevenDigits = [](float value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.6e", value);
        return std::strtof(text, nullptr);
    };
    for (int i = 0; i < 300; ++i) {
        DesignRecord design;
        design.Frequency = logUniform(1000, 1e10);
        design.Supply = logUniform(2, 10000);
        design.Saturation = logUniform(0.1, design.Supply - 0.5);
        design.Power = logUniform(0.01, 1e6);
        design.NetworkQ = logUniform(1, 10000);
        design.Falltime = logUniform(1e-12, 0.19 / design.Frequency);
        if (i % 2) {
            for (float* field : {&design.Frequency, &design.Supply, &design.Saturation, &design.Power,
                                 &design.NetworkQ, &design.Falltime})
                *field = sevenDigits(*field);
        }
        WriteDesignFile(Path("trip.VLT"), design, sink_);
        DesignRecord back;
        ReadDesignFile(Path("trip.VLT"), back, sink_);
        const std::vector<float> sent = TargetsOf(design), received = TargetsOf(back);
        for (std::size_t k = 0; k < sent.size(); ++k)
            ASSERT_EQ(received[k], sevenDigits(sent[k])) << "design " << i << " value " << k;
    }
    EXPECT_TRUE(sink_.messages.empty());
}

// One row per validation test: the value text at the threshold passes silently, the
// text just beyond it is reset with its message.
struct LimitRow {
    bool lastSession;
    int line;  // index into kValidValues
    const char* at;
    const char* beyond;
    float resetTo;
    const char* message;
};

void PrintTo(const LimitRow& row, std::ostream* out) { *out << (row.lastSession ? "last session: " : "design file: ") << row.message; }

class FileLimitTest : public DesignFileTest, public ::testing::WithParamInterface<LimitRow> {};

TEST_P(FileLimitTest, ThresholdPassesAndBeyondIsReset)
{
    const LimitRow& row = GetParam();
    std::vector<std::string> values = {"4000000", "24", "0.1", "50", "5", "0"};
    auto read = [&](const char* text) {
        values[row.line] = text;
        sink_.messages.clear();
        return TargetsOf(row.lastSession ? ReadSession(FileWith(values)) : ReadDesign(FileWith(values)));
    };
    EXPECT_EQ(read(row.at)[row.line], std::strtof(row.at, nullptr));
    EXPECT_TRUE(sink_.messages.empty());
    EXPECT_EQ(read(row.beyond)[row.line], row.resetTo);
    EXPECT_EQ(sink_.messages, std::vector<std::string>{row.message});
    EXPECT_EQ(sink_.beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, FileLimitTest,
    ::testing::Values(
        LimitRow{true, 0, "1000", "999.9999", 1000, "Frequency has been reset to 1000 Hz"},
        LimitRow{true, 0, "1E+10", "1.000001E+10", 1e10f, "Frequency has been reset to 10 GHz"},
        LimitRow{true, 1, "1", "0.9999999", 1, "Supply voltage has been reset to 1 volt"},
        LimitRow{true, 1, "50000", "50000.01", 50000, "Supply voltage has been reset to 50000 volts"},
        LimitRow{true, 2, "0.001", "0.0009999999", 0.001f, "Saturation voltage has been reset to 0.001"},
        LimitRow{true, 2, "23.5", "23.50001", 23.5f, "Saturation voltage has been reset to 23.5"},
        LimitRow{true, 4, "1.8", "1.799999", 1.8f, "Network Q has been reset to 1.8"},
        LimitRow{true, 4, "10000", "10000.01", 10000, "Network Q has been reset to 10000"},
        LimitRow{true, 5, "0", "-1E-30", 1e-10f, "Falltime has been reset to 0.1 ns"},
        LimitRow{true, 5, "5E-08", "5.000001E-08", 4.975e-8f, "Falltime has been reset to 49.75n"},
        LimitRow{false, 0, "1000", "999.9999", 1000, "Frequency has been reset to 1000 Hz"},
        LimitRow{false, 0, "1E+10", "1.000001E+10", 1e10f, "Frequency has been reset to 10 GHz"},
        LimitRow{false, 1, "2", "1.999999", 2, "Supply voltage has been reset to 2 volts"},
        LimitRow{false, 1, "10000", "10000.01", 10000, "Supply voltage has been reset to 10000 volts"},
        LimitRow{false, 2, "0.1", "0.09999999", 0.1f, "Saturation voltage has been reset to 0.1"},
        LimitRow{false, 2, "23.5", "23.50001", 23.5f, "Saturation voltage has been reset to 23.5"},
        LimitRow{false, 4, "1", "0.9999999", 1, "Network Q has been reset to 1"},
        LimitRow{false, 4, "10000", "10000.01", 10000, "Network Q has been reset to 10000"},
        LimitRow{false, 5, "0", "-1E-30", 1e-10f, "Falltime has been reset to 0.1 ns"},
        LimitRow{false, 5, "5E-08", "5.000001E-08", 4.975e-8f, "Falltime has been reset to 49.75n"}));

TEST_F(DesignFileTest, ResetsChainInTableOrder)
{
    DesignRecord d = ReadDesign(FileWith({"500", "24", "1", "50", "5", "5e-4"}));
    EXPECT_EQ(d.Frequency, 1000);
    EXPECT_EQ(d.Falltime, static_cast<float>(0.199 / 1000));
    EXPECT_EQ(sink_.messages,
              (std::vector<std::string>{"Frequency has been reset to 1000 Hz", "Falltime has been reset to 199u"}));

    sink_.messages.clear();
    d = ReadDesign(FileWith({"Frequency: x", "", "no number", "", " ", "-1"}));
    EXPECT_EQ(TargetsOf(d), (std::vector<float>{1000, 2, 0.1f, 0, 1, 1e-10f}));
    EXPECT_EQ(sink_.messages.size(), 5u);

    sink_.messages.clear();
    d = ReadDesign(FileWith({"4000000", "1.5", "1", "50", "1.5", "0"}));
    EXPECT_EQ(TargetsOf(d), (std::vector<float>{4e6f, 2, 1, 50, 1.5f, 0}));
    EXPECT_EQ(ReadSession(FileWith({"4000000", "1.5", "1", "50", "1.5", "0"})).Supply, 1.5f);
    EXPECT_EQ(sink_.messages, (std::vector<std::string>{"Supply voltage has been reset to 2 volts",
                                                        "Network Q has been reset to 1.8"}));
}

// Line ends of every platform, comments and empty lines anywhere, labels in any
// order: the same six numbers by position.
TEST_F(DesignFileTest, LayoutVariantsReadTheSameValues)
{
    const std::vector<float> expected = {4e6f, 24, 1, 50, 5, 0};
    for (const char* eol : {"\r\n", "\r", "\n"}) {
        EXPECT_EQ(TargetsOf(ReadDesign(FileWith(kValidValues, eol))), expected) << "line end " << int(eol[0]);
        std::string noisy = "*head\r\n\r\n";
        for (char c : FileWith(kValidValues, eol)) noisy += (c == eol[0]) ? eol + std::string("*c\n\n\r") : std::string(1, c);
        EXPECT_EQ(TargetsOf(ReadDesign(noisy)), expected);
    }
    const std::string swapped = "t\r\nd\r\nFalltime: 4000000\r\nNetwork Q: 24\r\nPower output: 1\r\n"
                                "Saturation voltage: 50\r\nSupply voltage: 5\r\nFrequency: 0";
    EXPECT_EQ(TargetsOf(ReadDesign(swapped)), expected);
    EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(DesignFileTest, EarlyEndKeepsUnreachedValuesUnchecked)
{
    DesignRecord d;
    d.NetworkQ = 7;
    WriteBytes(Path("short.VLT"), FileWith({"5", "24", "1", "50"}));
    ReadDesignFile(Path("short.VLT"), d, sink_);
    EXPECT_EQ(TargetsOf(d), (std::vector<float>{5, 24, 1, 50, 7, 0}));
    EXPECT_EQ(ReadSession(FileWith({"5", "24", "1", "50", "6"})).Falltime, 1e-7f);
    EXPECT_EQ(ReadSession("only a title\r\n").Frequency, 4e6f);
    EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(DesignFileTest, UnreadableFilesGiveTheStartupDesignSilently)
{
    std::filesystem::create_directory(Path("folder.VLT"));
    for (const char* name : {"missing.VLT", "folder.VLT"}) {
        DesignRecord d;
        ReadDesignFile(Path(name), d, sink_);
        EXPECT_EQ(TargetsOf(d), (std::vector<float>{4e6f, 24, 1, 50, 5, 1e-9f})) << name;
    }
    DesignRecord d;
    ReadLastSession(d, sink_);
    EXPECT_EQ(d.Falltime, 1e-9f);
    d.Frequency = 0;
    ReadDesignFile("x.VL", d, sink_);
    EXPECT_EQ(d.Frequency, 0);
    EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(DesignFileTest, LastSessionIsFoundWithoutRegardToCase)
{
    EXPECT_EQ(ReadSession(FileWith({"1E+07", "24", "1", "50", "5", "0"}), "LASTSESSION.VLT").Frequency, 1e7f);
    EXPECT_EQ(ReadSession(FileWith({"2E+07", "24", "1", "50", "5", "0"}), "lastsession.vlt").Frequency, 1e7f);
    EXPECT_EQ(ReadSession(FileWith({"3E+07", "24", "1", "50", "5", "0"})).Frequency, 3e7f);
}

// The power line is the one value no limit touches, so it shows what a line reads as.
TEST_F(DesignFileTest, LeadingNumberGrammar)
{
    const std::vector<std::pair<std::string, float>> rows = {
        {" \t+12.5e1 W", 125},   {"-.5", -0.5f},        {"7.", 7},           {"1E", 1},
        {"1e+", 1},              {"2.5.3", 2.5f},       {"1,5", 1},          {"0x10", 0},
        {"a:b:3", 0},            {"E5", 0},             {"1E-50", 0},        {"0.000000000000000000001E+30", 1e9f},
        {"1E+39", FLT_MAX},      {"-1E+99999999999", -FLT_MAX}, {std::string(500, '9'), FLT_MAX},
        {"0." + std::string(500, '0') + "1E+501", 1}};
    for (const auto& [text, expected] : rows) {
        const DesignRecord d = ReadDesign(FileWith({"4000000", "24", "1", text, "5", "0"}));
        EXPECT_EQ(d.Power, expected) << text;
    }
}

TEST_F(DesignFileTest, DamagedAndHugeFilesGiveFiniteTargets)
{
    std::mt19937 random(7);
    std::string noise(10 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    const std::string hugeNumber = FileWith({std::string(10 << 20, '9'), "24", "1", "50", "5", "0"});
    for (const std::string& content : {noise, hugeNumber, std::string(10 << 20, '*')}) {
        for (float value : TargetsOf(ReadDesign(content))) EXPECT_TRUE(std::isfinite(value));
    }
    EXPECT_EQ(ReadDesign(hugeNumber).Frequency, 1e10f);
}

// The path heads the file; one that the reader would split or skip as a comment
// must not shift the values.
TEST_F(DesignFileTest, PathLineNeverShiftsTheValues)
{
    DesignRecord design;
    StartupValues(design);
    design.Power = 75;
    for (const std::string name : {"*star.VLT", "two\nlines.VLT", "cr\rname.VLT"}) {
        WriteDesignFile(name, design, sink_);
        DesignRecord back;
        ReadDesignFile(name, back, sink_);
        EXPECT_EQ(back.Power, 75) << name;
    }
    WriteDesignFile("\xC3\xA9.VL", design, sink_);  // four characters in five bytes
    EXPECT_EQ(EntriesOf(dir_).size(), 3u);
    EXPECT_TRUE(sink_.messages.empty());
}

}  // namespace
