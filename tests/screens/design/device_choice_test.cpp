// The transistor on the design screen: "none" is the ideal switch bit for bit, a
// chosen device holds the Coss box with its own capacitance and brings its derating,
// heat path and junction temperature, entries out of range are refused in red, and a
// device file that cannot be read is told, not dropped in silence.
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "engine/chosen_device.h"
#include "engine/design_options.h"
#include "files/device_file.h"
#include "screen_fixture.h"
#include "screens/design/schematic.h"
#include "screens/design/schematic_labels.h"
#include "screens/object_names.h"
#include "screens/screen_style.h"
#include "tests/screens/text_boxes.h"
#include "units/format.h"

namespace voltra {
namespace {

const std::filesystem::path kTestData = VOLTRA_TEST_DATA_DIR;
constexpr const char* kTestFet = "Test FET 150V";

class DeviceChoiceTest : public DesignScreenTest {
protected:
    // Every test starts from the options' defaults, whatever the screen tests before it chose.
    void SetUp() override
    {
        DesignScreenTest::SetUp();
        QSettings(QStringLiteral("voltra"), QStringLiteral("voltra")).clear();
        commands.folders = {kTestData};
    }
    void TearDown() override { QSettings(QStringLiteral("voltra"), QStringLiteral("voltra")).clear(); }

    QComboBox* Switch() const { return screen->findChild<QComboBox*>(kSwitchBoxName); }
    const Circuit& Shown() const { return screen->ShownCircuit(); }
    static Transistor TestFet()
    {
        const DeviceRead read = ReadDeviceFile(kTestData / "test-fet.json");
        EXPECT_TRUE(read.device) << read.error;
        return read.device.value_or(Transistor{});
    }
    // The circuit the shown design gives with the test device and these conditions,
    // built without the screen.
    Circuit Expected(HeatSink sink = {kDefaultThetaCaseSink, kDefaultThetaSinkAmbient, kDefaultAmbientCelsius},
                     double derating = kDefaultVoltageDerating) const
    {
        DesignOptions options;
        options.device = TestFet();
        options.derating = derating;
        options.heatSink = sink;
        return BuildCircuit(screen->ShownDesign(), options);
    }
    std::vector<SchematicLabel> Labels() const
    {
        return SchematicLabels(Shown(), SchematicOf(Shown(), design.Pi).SchematicX);
    }
    const SchematicLabel* LabelStarting(const QString& start) const
    {
        static std::vector<SchematicLabel> labels;
        labels = Labels();
        for (const SchematicLabel& label : labels)
            if (label.text.startsWith(start)) return &label;
        return nullptr;
    }
    static bool Red(const QLineEdit* box) { return !box->styleSheet().isEmpty(); }
};

// Every value and standing of the shown circuit, bit for bit.
void ExpectSameCircuit(const Circuit& a, const Circuit& b)
{
    const auto named = a.NamedResults(), other = b.NamedResults();
    ASSERT_EQ(named.size(), other.size());
    for (std::size_t i = 0; i < named.size(); ++i) {
        EXPECT_STREQ(named[i].first, other[i].first);
        EXPECT_EQ(std::memcmp(&named[i].second.value, &other[i].second.value, sizeof(float)), 0) << named[i].first;
        EXPECT_EQ(named[i].second.status, other[i].second.status) << named[i].first;
    }
    ASSERT_EQ(a.parts.size(), b.parts.size());
    for (std::size_t i = 0; i < a.parts.size(); ++i)
        EXPECT_EQ(std::memcmp(&a.parts[i].value.value, &b.parts[i].value.value, sizeof(float)), 0) << a.parts[i].name;
    EXPECT_EQ(a.coss, b.coss);
    EXPECT_EQ(a.analysed, b.analysed);
    EXPECT_EQ(a.losses.size(), b.losses.size());
    EXPECT_EQ(a.tj.has_value(), b.tj.has_value());
}

TEST_F(DeviceChoiceTest, NoneIsTheIdealSwitchBitForBitBeforeAndAfterADevice)
{
    Open();
    ASSERT_EQ(Switch()->count(), 2);
    EXPECT_EQ(Switch()->itemText(0), "none");
    EXPECT_EQ(Switch()->itemText(1), kTestFet);
    EXPECT_EQ(Switch()->currentIndex(), 0);
    const Circuit plain = BuildCircuit(screen->ShownDesign());
    ExpectSameCircuit(Shown(), plain);
    EXPECT_FALSE(Shown().tj || Shown().cossLaw);
    EXPECT_EQ(LabelStarting("Tj"), nullptr);
    for (const char* condition : {kDeratingBoxName, kThetaCaseSinkBoxName, kThetaSinkAmbientBoxName, kAmbientBoxName})
        EXPECT_FALSE(Box(condition)->isEnabled()) << condition;
    const std::vector<SchematicLabel> plainLabels = Labels();

    Switch()->setCurrentText(kTestFet);
    ASSERT_TRUE(Shown().tj);
    ExpectSameCircuit(Shown(), Expected());
    for (const char* condition : {kDeratingBoxName, kThetaCaseSinkBoxName, kThetaSinkAmbientBoxName, kAmbientBoxName})
        EXPECT_TRUE(Box(condition)->isEnabled()) << condition;

    // Conditions typed while a device was chosen say nothing once it is gone.
    Type(kThetaSinkAmbientBoxName, "20");
    Type(kDeratingBoxName, "50");
    Switch()->setCurrentIndex(0);
    ExpectSameCircuit(Shown(), plain);
    const std::vector<SchematicLabel> labels = Labels();
    ASSERT_EQ(labels.size(), plainLabels.size());
    for (std::size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(labels[i].text, plainLabels[i].text);
}

TEST_F(DeviceChoiceTest, ADeviceHoldsTheCossBoxWithItsOwnCapacitanceAtTheSupply)
{
    Open();
    Type(kCossBoxName, "500p");
    Switch()->setCurrentText(kTestFet);
    const QLineEdit* coss = Box(kCossBoxName);
    EXPECT_FALSE(coss->isEnabled());
    EXPECT_EQ(coss->text().toStdString(), FormatCapacitance(SingleCossOf(TestFet(), 24)));
    // The charge-equivalent value falls as the drain swings higher.
    Type(kSupplyBoxName, "48");
    EXPECT_EQ(coss->text().toStdString(), FormatCapacitance(SingleCossOf(TestFet(), 48)));
    EXPECT_LT(SingleCossOf(TestFet(), 48), SingleCossOf(TestFet(), 24));
    ExpectSameCircuit(Shown(), Expected());

    // Other options change while the device holds the box: the typed Coss is kept.
    Type(kInductorQBoxName, "200");
    Switch()->setCurrentIndex(0);
    EXPECT_TRUE(coss->isEnabled());
    EXPECT_EQ(coss->text(), "500p");
    EXPECT_FLOAT_EQ(Shown().coss, 500e-12f);
    Open();
    EXPECT_FLOAT_EQ(Shown().coss, 500e-12f);
}

TEST_F(DeviceChoiceTest, HeatPathAndDeratingReachTheCircuitAndTjStandsNearTheLosses)
{
    Open();
    Switch()->setCurrentText(kTestFet);
    const SchematicLabel* tj = LabelStarting("Tj: ");
    ASSERT_NE(tj, nullptr);
    EXPECT_FALSE(tj->red);
    EXPECT_EQ(tj->anchor.y(), 1700);  // under Pdiss
    // 6.5 K/W from junction to air with the start-up design's loss.
    EXPECT_GT(Shown().tj->value, kDefaultAmbientCelsius);
    EXPECT_LT(Shown().tj->value, 150);

    // A part on a poor heat sink passes its maximum: Tj is invalid, red, and why.
    Type(kThetaSinkAmbientBoxName, "100");
    Type(kAmbientBoxName, "40");
    const Circuit hot = Expected({kDefaultThetaCaseSink, 100, 40});
    ASSERT_EQ(Shown().tj->status, Status::Invalid);
    EXPECT_EQ(Shown().tj->reason, hot.tj->reason);
    tj = LabelStarting("Tj: ");
    ASSERT_NE(tj, nullptr);
    EXPECT_EQ(tj->text, "Tj: invalid");
    EXPECT_TRUE(tj->red);
    const SchematicLabel* why = LabelStarting(QString::fromStdString(hot.tj->reason));
    ASSERT_NE(why, nullptr);
    EXPECT_TRUE(why->red);

    // A tighter derating refuses the peak drain voltage on screen, with its reason.
    Box(kThetaSinkAmbientBoxName)->clear();
    Box(kAmbientBoxName)->clear();
    Type(kDeratingBoxName, "50");
    EXPECT_EQ(Shown().vpeak.status, Status::Invalid);
    EXPECT_EQ(Shown().vpeak.reason, Expected({kDefaultThetaCaseSink, kDefaultThetaSinkAmbient, kDefaultAmbientCelsius}, 0.5).vpeak.reason);
    const SchematicLabel* vpeak = LabelStarting("Vpeak: ");
    ASSERT_NE(vpeak, nullptr);
    EXPECT_TRUE(vpeak->red);
    EXPECT_NE(LabelStarting(QString::fromStdString(Shown().vpeak.reason)), nullptr);
    // Within 10 % of what is allowed it is questioned, still a number.
    const double share = Shown().vpeak.value / TestFet().maxDrainVolts;
    Type(kDeratingBoxName, QString::number(100 * share / 0.95, 'f', 1));
    EXPECT_EQ(Shown().vpeak.status, Status::Warning);
    EXPECT_TRUE(LabelStarting("Vpeak: ")->red);
    EXPECT_NE(LabelStarting(QString::fromStdString(Shown().vpeak.reason)), nullptr);
}

TEST_F(DeviceChoiceTest, EntriesOutOfRangeAreRefusedInRedAndTheDefaultStands)
{
    Open();
    Switch()->setCurrentText(kTestFet);
    const float tj = Shown().tj->value;
    const std::pair<const char*, const char*> refused[] = {
        {kDeratingBoxName, "0"},       {kDeratingBoxName, "101"},   {kThetaCaseSinkBoxName, "-1"},
        {kThetaCaseSinkBoxName, "pad"}, {kThetaSinkAmbientBoxName, "2k"}, {kAmbientBoxName, "-56"},
        {kAmbientBoxName, "126"},
    };
    for (const auto& [box, text] : refused) {
        SCOPED_TRACE(std::string(box) + " " + text);
        Type(box, text);
        EXPECT_TRUE(Red(Box(box)));
        EXPECT_TRUE(Box(box)->toolTip().contains("is in effect")) << Box(box)->toolTip().toStdString();
        EXPECT_EQ(Shown().tj->value, tj);
        Box(box)->clear();
        EXPECT_FALSE(Red(Box(box)));
    }
    // The ends of the ranges stand as typed.
    for (const auto& [box, text] : {std::pair{kDeratingBoxName, "100"}, {kThetaCaseSinkBoxName, "0"},
                                    {kAmbientBoxName, "-55"}, {kAmbientBoxName, "125"}}) {
        Type(box, text);
        EXPECT_FALSE(Red(Box(box))) << box << " " << text;
    }
    EXPECT_EQ(Shown().tj->value, Expected({0, kDefaultThetaSinkAmbient, 125}, 1.0).tj->value);
}

TEST_F(DeviceChoiceTest, TheChoiceAndItsConditionsOutlastTheScreen)
{
    Open();
    Switch()->setCurrentText(kTestFet);
    Type(kThetaSinkAmbientBoxName, "8");
    Open();
    EXPECT_EQ(Switch()->currentText(), kTestFet);
    EXPECT_EQ(Box(kThetaSinkAmbientBoxName)->text(), "8");
    EXPECT_EQ(Shown().tj->value, Expected({kDefaultThetaCaseSink, 8, kDefaultAmbientCelsius}).tj->value);
    // A kept device the folders no longer hold leaves the ideal switch.
    commands.folders.clear();
    Open();
    EXPECT_EQ(Switch()->currentIndex(), 0);
    EXPECT_FALSE(Shown().cossLaw);
    EXPECT_TRUE(commands.reports.empty());
}

TEST_F(DeviceChoiceTest, AFileThatIsNoDeviceIsReportedAndTheOthersListed)
{
    QTemporaryDir folder;
    const std::filesystem::path root = folder.path().toStdString();
    std::filesystem::copy_file(kTestData / "test-fet.json", root / "test-fet.json");
    std::ofstream(root / "broken.json") << "{\"format\": \"voltra-device\", ";
    commands.folders = {root};
    Open();
    ASSERT_EQ(commands.reports.size(), 1u);
    EXPECT_NE(commands.reports[0].find("broken.json"), std::string::npos) << commands.reports[0];
    ASSERT_EQ(Switch()->count(), 2);
    EXPECT_EQ(Switch()->itemText(1), kTestFet);

    // The file spoilt after the screen listed it: told when chosen, and none stands.
    std::ofstream(root / "test-fet.json", std::ios::trunc) << "not json";
    Switch()->setCurrentIndex(1);
    ASSERT_EQ(commands.reports.size(), 2u);
    EXPECT_NE(commands.reports[1].find("test-fet.json"), std::string::npos) << commands.reports[1];
    EXPECT_EQ(Switch()->currentIndex(), 0);
    EXPECT_FALSE(Shown().cossLaw);
    EXPECT_TRUE(Box(kCossBoxName)->isEnabled());
}

// With a device and an invalid Tj the screen writes the most: at every size each text
// stays whole, inside the window and clear of the others, the wires and the controls.
TEST_F(DeviceChoiceTest, TjAndItsReasonStayClearAtEverySize)
{
    Open();
    screen->show();
    Switch()->setCurrentText(kTestFet);
    Type(kThetaSinkAmbientBoxName, "120");
    Type(kDeratingBoxName, "50");  // a second reason line: the peak drain voltage
    ASSERT_EQ(Shown().tj->status, Status::Invalid);
    ASSERT_EQ(Shown().vpeak.status, Status::Invalid);
    for (QSize size : {QSize(800, 600), QSize(1920, 1080), QSize(3840, 2160)}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        screen->resize(size);
        ExpectWholeTextsApart(*screen);
        QFont font(kSansFamily);
        font.setPixelSize(Box(kFrequencyBoxName)->font().pixelSize());
        const QFontMetricsF metrics(font);
        const QTransform units = screen->Units();
        const SchematicDrawing drawing = SchematicOf(Shown(), design.Pi);
        const std::vector<QPointF> ink = InkOf(drawing, units);
        std::vector<QRectF> written;
        for (const SchematicLabel& label : SchematicLabels(Shown(), drawing.SchematicX)) {
            const std::string text = label.text.toStdString();
            const QRectF box =
                metrics.boundingRect(label.text).translated(units.map(label.anchor) + QPointF(0, metrics.ascent()));
            EXPECT_TRUE(QRectF(screen->rect()).contains(box)) << text;
            for (const QRectF& other : written) EXPECT_FALSE(box.intersects(other)) << text;
            for (const QPointF& point : ink) EXPECT_FALSE(box.contains(point)) << text;
            for (QWidget* control : screen->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (control->isVisible())
                    EXPECT_FALSE(box.intersects(control->geometry()))
                        << text << " under " << control->objectName().toStdString();
            written.push_back(box);
        }
    }
}

}  // namespace
}  // namespace voltra

namespace voltra {
namespace {

// With Exact and a device's curve each solve takes a tenth of a second: the keys typed
// before the screen is back go in first, one solve follows them, and it is the solve of
// what the boxes hold then.
TEST_F(DeviceChoiceTest, KeysTypedDuringACurveSolveAreTakenByOneSolve)
{
    Open();
    Switch()->setCurrentText(kTestFet);
    Button(kExactButtonName)->click();
    QCoreApplication::processEvents();
    ASSERT_TRUE(Shown().exact && Shown().cossLaw);
    const int before = screen->CycleCount();
    Type(kFrequencyBoxName, "3500000");
    EXPECT_EQ(screen->CycleCount(), before);
    QCoreApplication::processEvents();
    EXPECT_EQ(screen->CycleCount(), before + 1);
    EXPECT_EQ(screen->ShownDesign().Frequency, 3.5e6f);
    DesignOptions options;
    options.exact = true;
    options.device = TestFet();
    ExpectSameCircuit(Shown(), BuildCircuit(screen->ShownDesign(), options));
}

}  // namespace
}  // namespace voltra
