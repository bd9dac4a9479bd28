// Saves the design screen on the start-up design, maximized on the display it runs
// on, as an image file: design_screenshot <file.png>
#include <QApplication>
#include <QScreen>

#include "screens/design/design_commands.h"
#include "screens/design/frm_design.h"

struct NoCommands : DesignCommands {
    void Get() override {}
    void Save() override {}
    void Spice() override {}
    void Print() override {}
    void About() override {}
    void Exit() override {}
};

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    DesignRecord design;
    StartupValues(design);
    NoCommands commands;
    frmDesign screen(design, commands);
    screen.setGeometry(screen.screen()->availableGeometry());
    screen.show();
    QApplication::processEvents();
    return argc == 2 && screen.grab().save(argv[1]) ? 0 : 1;
}
