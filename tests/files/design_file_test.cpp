// Design and last-session files: the text written, what reads back, the limits, damaged files.
#include "files/design_file.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <random>

#include "file_test_support.h"
#include "files/value_lines.h"

namespace voltra {

namespace {

using Values = std::vector<float>;

std::string FileWith(const Texts& values, const std::string& eol = "\r\n")
{
    std::string text = "title" + eol + "date" + eol;
    for (const std::string& value : values) text += "Any label: " + value + eol;
    return text;
}

Values TargetsOf(const DesignRecord& d)
{
    return {d.Frequency, d.Supply, d.Saturation, d.Power, d.NetworkQ, d.Falltime};
}

float SingleOf(std::string_view text)
{
    float value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

float SevenDigits(float value)
{
    char text[32];
    return SingleOf({text, std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 6).ptr});
}

class DesignFileTest : public ScratchDirTest {
protected:
    Values Read(const std::string& content, bool lastSession = false)
    {
        DesignRecord d;
        WriteBytes(lastSession ? "lastsession.vlt" : "in.VLT", content);
        lastSession ? ReadLastSession(".", d, sink_) : ReadDesignFile("in.VLT", d, sink_);
        return TargetsOf(d);
    }
};

TEST_F(DesignFileTest, StartupDesignIsWrittenLineForLine)
{
    DesignRecord design;
    StartupValues(design);
    WriteDesignFile("start.VLT", design, sink_);
    WriteLastSession(".", design, sink_);
    Texts file = LinesOf(ReadBytes("start.VLT")), session = LinesOf(ReadBytes(kLastSessionFileName));
    EXPECT_FALSE(file.at(2).empty() || session.at(1).empty());  // the date, in any one-line form
    file[2] = session[1] = "";
    Texts expected = {"start.VLT", "", "", "", "Frequency: 4000000", "Supply voltage: 24", "Saturation voltage: 1",
                      "Power output: 50", "Network Q: 5", "Falltime: 1E-09"};
    EXPECT_EQ(file, expected);
    expected.erase(expected.begin());
    expected[0] = "Voltra last-session file";
    EXPECT_EQ(session, expected);
}

// One character and the extension is the shortest name a file is written under.
TEST_F(DesignFileTest, FiveCharacterPathIsTheShortestWritten)
{
    DesignRecord design;
    StartupValues(design);
    WriteDesignFile("a.VLT", design, sink_);
    WriteDesignFile(".VLT", design, sink_);
    EXPECT_EQ(Entries(), Texts{"a.VLT"});
    EXPECT_TRUE(sink_.messages.empty());
}

// Half the designs are first rounded to seven digits.
TEST_F(DesignFileTest, RandomDesignsRoundTripAtSevenDigits)
{
    std::mt19937 random(2026);
    auto pick = [&](double low, double high) {
        return float(low * std::pow(high / low, std::uniform_real_distribution<>(0, 1)(random)));
    };
    for (int i = 0; i < 300; ++i) {
        DesignRecord d, back;
        d.Frequency = pick(1000, 1e10);
        d.Supply = pick(2, 1e4);
        d.Saturation = pick(0.1, d.Supply - 0.5);
        d.Power = pick(0.01, 1e6);
        d.NetworkQ = pick(1, 1e4);
        d.Falltime = pick(1e-12, 0.19 / d.Frequency);
        for (Target t : kTargets) TargetField(d, t) = i % 2 ? SevenDigits(TargetField(d, t)) : TargetField(d, t);
        WriteDesignFile("trip.VLT", d, sink_);
        ReadDesignFile("trip.VLT", back, sink_);
        for (Target t : kTargets) ASSERT_EQ(TargetField(back, t), SevenDigits(TargetField(d, t))) << i;
    }
    EXPECT_TRUE(sink_.messages.empty());
}

// The text at each threshold passes silently; just beyond it is reset with its message.
enum Readers { kSession = 1, kDesign = 2, kBoth = 3 };
struct LimitRow {
    Readers readers;
    int line;
    const char *at, *beyond;
    float resetTo;
    const char* message;
};
const LimitRow kLimitRows[] = {
    {kBoth, 0, "1000", "999.9999", 1000, "Frequency has been reset to 1000 Hz"},
    {kBoth, 0, "1E+10", "1.000001E+10", 1e10f, "Frequency has been reset to 10 GHz"},
    {kSession, 1, "1", "0.9999999", 1, "Supply voltage has been reset to 1 volt"},
    {kDesign, 1, "2", "1.999999", 2, "Supply voltage has been reset to 2 volts"},
    {kSession, 1, "50000", "50000.01", 50000, "Supply voltage has been reset to 50000 volts"},
    {kDesign, 1, "10000", "10000.01", 10000, "Supply voltage has been reset to 10000 volts"},
    {kSession, 2, "0.001", "0.0009999999", 0.001f, "Saturation voltage has been reset to 0.001"},
    {kDesign, 2, "0.1", "0.09999999", 0.1f, "Saturation voltage has been reset to 0.1"},
    {kBoth, 2, "23.5", "23.50001", 23.5f, "Saturation voltage has been reset to 23.5"},
    {kSession, 4, "1.8", "1.799999", 1.8f, "Network Q has been reset to 1.8"},
    {kDesign, 4, "1", "0.9999999", 1, "Network Q has been reset to 1"},
    {kBoth, 4, "10000", "10000.01", 10000, "Network Q has been reset to 10000"},
    {kBoth, 5, "0", "-1E-30", 1e-10f, "Falltime has been reset to 0.1 ns"},
    {kBoth, 5, "5E-08", "5.000001E-08", 4.975e-8f, "Falltime has been reset to 49.75n"}};

TEST_F(DesignFileTest, EachLimitAtAndBeyondItsThreshold)
{
    for (const LimitRow& row : kLimitRows) {
        for (Readers reader : {kSession, kDesign}) {
            if (!(row.readers & reader)) continue;
            SCOPED_TRACE(std::string(row.message) + (reader == kSession ? " (last session)" : ""));
            Texts values = {"4000000", "24", "0.1", "50", "5", "0"};
            values[row.line] = row.at;
            EXPECT_EQ(Read(FileWith(values), reader == kSession)[row.line], SingleOf(row.at));
            EXPECT_TRUE(sink_.messages.empty());
            values[row.line] = row.beyond;
            EXPECT_EQ(Read(FileWith(values), reader == kSession)[row.line], row.resetTo);
            EXPECT_EQ(sink_.messages, Texts{row.message});
            sink_.messages.clear();
        }
    }
}

// Each test works on what the earlier ones left.
TEST_F(DesignFileTest, ResetsChainInTableOrder)
{
    EXPECT_EQ(Read(FileWith({"500", "24", "1", "50", "5", "5e-4"})), (Values{1000, 24, 1, 50, 5, float(0.199 / 1000)}));
    EXPECT_EQ(sink_.messages, (Texts{"Frequency has been reset to 1000 Hz", "Falltime has been reset to 199u"}));
}

// Any line ends, comments, blank lines, early ends and unreadable files: all silent.
TEST_F(DesignFileTest, LineEndsCommentsEarlyEndAndUnreadable)
{
    for (const std::string eol : {"\r\n", "\r", "\n"}) {
        std::string noisy = "*head\r\n\r\n";
        for (char c : FileWith({"4000000", "24", "1", "50", "5", "0"}, eol))
            noisy += c == eol[0] ? eol + "*c" + eol + eol : std::string(1, c);
        EXPECT_EQ(Read(noisy), (Values{4e6f, 24, 1, 50, 5, 0})) << int(eol.back());
    }
    EXPECT_EQ(Read(FileWith({"5", "24", "1", "50"})), (Values{5, 24, 1, 50, 0, 0}));
    EXPECT_EQ(Read(FileWith({"5", "24", "1", "50", "6"}), true), (Values{5, 24, 1, 50, 6, 1e-7f}));
    fs::remove("lastsession.vlt");
    fs::create_directory("folder.VLT");
    DesignRecord folder, session;
    ReadDesignFile("folder.VLT", folder, sink_);
    ReadLastSession(".", session, sink_);
    for (const DesignRecord& d : {folder, session}) EXPECT_EQ(TargetsOf(d), (Values{4e6f, 24, 1, 50, 5, 1e-9f}));
    EXPECT_TRUE(sink_.messages.empty());
}

// Beyond single precision reads as the largest single; any bytes up to the size limit give finite targets.
TEST_F(DesignFileTest, RandomAndHugeFilesGiveFiniteTargets)
{
    std::mt19937 random(7);
    std::string noise(kLargestDesignFile, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    const std::string huge = FileWith({std::string(kLargestDesignFile - 200, '9'), "24", "1", "1E+39", "5", "0"});
    for (const std::string& content : {noise, huge})
        for (float value : Read(content)) EXPECT_TRUE(std::isfinite(value));
    EXPECT_EQ(Read(huge), (Values{1e10f, 24, 1, FLT_MAX, 5, 0}));
    EXPECT_EQ(sink_.messages.back(), "Frequency has been reset to 10 GHz");
    EXPECT_EQ(Read(FileWith({"4E6", "24", "1", "-1E+39", "5", "0"}))[3], -FLT_MAX);
}

}  // namespace

}  // namespace voltra
