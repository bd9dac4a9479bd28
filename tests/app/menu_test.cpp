// The design screen's menu bar: every command reachable with its usual shortcut, the
// options in step with their controls, the layout below it, and the user guide.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>

#include "app/user_guide.h"
#include "program_fixture.h"
#include "screens/design/control_layout.h"
#include "screens/design/drawing_units.h"
#include "screens/object_names.h"

namespace voltra {
namespace {

class MenuTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        Run();
        Start();
    }
    QAction* Action(const char* name) const { return program_->Design()->findChild<QAction*>(name); }
    QMenuBar* Bar() const { return program_->Design()->findChild<QMenuBar*>(kMenuBarName); }
};

QStringList Titles(const QList<QAction*>& actions)
{
    QStringList titles;
    for (const QAction* action : actions)
        if (!action->isSeparator()) titles << action->text();
    return titles;
}

TEST_F(MenuTest, FileToolsAndHelpHoldEveryCommandWithTheDesktopsShortcuts)
{
    ASSERT_NE(Bar(), nullptr);
    EXPECT_EQ(Titles(Bar()->actions()), QStringList({"&File", "&Tools", "&Help"}));
    const auto menu = [this](const char* name) { return program_->Design()->findChild<QMenu*>(name); };
    EXPECT_EQ(Titles(menu(kFileMenuName)->actions()),
              QStringList({"&Open design...", "&Save design", "Save design &as...", "&Export LTspice schematic...",
                           "&Print...", "&Quit"}));
    EXPECT_EQ(Titles(menu(kToolsMenuName)->actions()),
              QStringList({"&Verify in ngspice", "&Losses and part stresses...", "&Best standard parts...",
                           "T&olerances...", "&Sensitivities and bench guide...", "S&weep...", "Load &mismatch...", "&Spectrum at the load...",
                           "&L-network", "&Exact design", "&Parts"}));
    EXPECT_EQ(Titles(menu(kPartsMenuName)->actions()), QStringList({"Any", "E12", "E24", "E96"}));
    EXPECT_EQ(Titles(menu(kHelpMenuName)->actions()), QStringList({"Voltra &user guide", "&About Voltra"}));

    const struct { const char* action; QKeySequence keys; } shortcuts[] = {
        {kOpenActionName, QKeySequence(Qt::CTRL | Qt::Key_O)},     {kSaveActionName, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {kSaveAsActionName, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {kSpiceActionName, QKeySequence(Qt::CTRL | Qt::Key_E)},    {kPrintActionName, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {kQuitActionName, QKeySequence(Qt::CTRL | Qt::Key_Q)},     {kVerifyActionName, QKeySequence(Qt::Key_F5)},
        {kUserGuideActionName, QKeySequence(Qt::Key_F1)}, {kPartsWindowActionName, QKeySequence(Qt::CTRL | Qt::Key_T)},
    };
    for (const auto& s : shortcuts) EXPECT_EQ(Action(s.action)->shortcut(), s.keys) << s.action;

    // Each command reaches the program: About, the guide, Print (cancelled), Quit.
    Action(kAboutActionName)->trigger();
    EXPECT_EQ(dialogs_.aboutShown, 1);
    Action(kUserGuideActionName)->trigger();
    ASSERT_EQ(dialogs_.opened.size(), 1u);
    EXPECT_TRUE(dialogs_.opened[0].ends_with("docs/user-guide.md")) << dialogs_.opened[0];
    EXPECT_TRUE(std::filesystem::is_regular_file(dialogs_.opened[0]));
    dialogs_.spicePath = (folder_ / "menu.asc").string();
    Action(kSpiceActionName)->trigger();
    EXPECT_TRUE(std::filesystem::exists(dialogs_.spicePath));
    Action(kVerifyActionName)->trigger();
    EXPECT_NE(program_->Verification(), nullptr);
    Action(kPartsWindowActionName)->trigger();
    EXPECT_NE(program_->Design()->findChild<QWidget*>(kPartsWindowName), nullptr);
    Action(kMismatchActionName)->trigger();
    EXPECT_NE(program_->Design()->findChild<QWidget*>(kMismatchWindowName), nullptr);
    dialogs_.printer.pdfPath = (folder_ / "menu.pdf").string();
    Action(kPrintActionName)->trigger();
    EXPECT_TRUE(std::filesystem::exists(dialogs_.printer.pdfPath));
    EXPECT_TRUE(messages_.said.empty());
    dialogs_.confirmExit = false;
    Action(kQuitActionName)->trigger();
    EXPECT_EQ(dialogs_.exitAsked, 1);
    EXPECT_EQ(ended_, 0);
}

TEST_F(MenuTest, OptionsInTheMenuMoveWithTheirControlsBothWays)
{
    DesignScreen* screen = program_->Design();
    Action(kLnetActionName)->trigger();
    EXPECT_EQ(design_.LnetState, 1);
    EXPECT_TRUE(Action(kLnetActionName)->isChecked());
    EXPECT_TRUE(Box("txtRnetwork")->isVisible());
    Click(screen, "cmdLnetYes");
    EXPECT_EQ(design_.LnetState, 0);
    EXPECT_FALSE(Action(kLnetActionName)->isChecked());

    auto* exact = screen->findChild<QPushButton*>(kExactButtonName);
    Action(kExactActionName)->trigger();
    EXPECT_TRUE(exact->isChecked());
    EXPECT_TRUE(screen->ShownCircuit().analysed) << "the exact design is in effect";
    exact->click();
    EXPECT_FALSE(Action(kExactActionName)->isChecked());

    auto* series = screen->findChild<QComboBox*>(kSeriesBoxName);
    Action(kPartsActionNames[2])->trigger();
    EXPECT_EQ(series->currentText(), "E24");
    series->setCurrentIndex(3);
    EXPECT_TRUE(Action(kPartsActionNames[3])->isChecked());
    EXPECT_FALSE(Action(kPartsActionNames[2])->isChecked());
    series->setCurrentIndex(0);
}

// The drawing units fill the window below the menu bar: every control stands where
// its drawing units put it, offset by the bar's height and no more.
TEST_F(MenuTest, TheLayoutStandsBelowTheMenuBarAndIsOtherwiseUnchanged)
{
    DesignScreen* screen = program_->Design();
    screen->resize(1366, 768);
    const int bar = Bar()->height();
    ASSERT_GT(bar, 0);
    EXPECT_EQ(Bar()->geometry(), QRect(0, 0, 1366, bar));
    EXPECT_EQ(screen->DrawingArea(), QRect(0, bar, 1366, 768 - bar));
    const QTransform units = DrawingTransform(QSize(1366, 768 - bar));
    for (const ControlPlacement& placement : kControlPlacements) {
        const auto* control = screen->findChild<QWidget*>(placement.name);
        const QRect expected = PixelRect(units, QRectF(placement.left, placement.top, placement.width, placement.height));
        EXPECT_EQ(control->geometry(), expected.translated(0, bar)) << placement.name;
    }
    EXPECT_EQ(screen->Units().map(QPointF(0, 0)), QPointF(0, bar));
    EXPECT_EQ(screen->Units().map(QPointF(12000, 9000)), QPointF(1366, 768));
}

TEST_F(MenuTest, AUserGuideThatCannotBeShownIsSaidSo)
{
    dialogs_.documentOpens = false;
    program_->UserGuide();
    ASSERT_EQ(messages_.said.size(), 1u);
    EXPECT_NE(messages_.said[0].text.find("No program on this desktop would show the user guide"), std::string::npos);
    EXPECT_NE(messages_.said[0].text.find("user-guide.md"), std::string::npos);
}

// Installed beside the program first, else the source tree's docs, else nothing.
TEST(UserGuide, FoundInstalledThenInTheSourceTree)
{
    const auto root = std::filesystem::temp_directory_path() / ("voltra-guide-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    const auto installed = root / "usr" / kInstalledDocs / kUserGuideFile;
    const auto source = root / "src/docs" / kUserGuideFile;
    std::filesystem::create_directories(root / "usr/bin");
    std::filesystem::create_directories(source.parent_path());
    EXPECT_EQ(FindUserGuide(root / "usr/bin", root / "src/docs"), std::nullopt);
    std::ofstream(source) << "guide";
    EXPECT_EQ(FindUserGuide(root / "usr/bin", root / "src/docs"), source);
    std::filesystem::create_directories(installed.parent_path());
    std::ofstream(installed) << "guide";
    EXPECT_EQ(FindUserGuide(root / "usr/bin", root / "src/docs"), installed);
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace voltra
