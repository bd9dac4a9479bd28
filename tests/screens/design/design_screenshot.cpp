// Saves the design screen on the start-up design, at the size it has when maximized
// on the display it runs on, as an image file.
#include <QApplication>
#include <QScreen>

#include "engine/design_record.h"
#include "screens/design/design_commands.h"
#include "screens/design/frm_design.h"

namespace {

class NoCommands : public DesignCommands {
public:
    void Get() override {}
    void Save() override {}
    void Spice() override {}
    void Print() override {}
    void About() override {}
    void Exit() override {}
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        qCritical("usage: design_screenshot <file.png>");
        return 2;
    }
    DesignRecord design;
    StartupValues(design);
    NoCommands commands;
    frmDesign screen(design, commands);
    screen.setGeometry(screen.screen()->availableGeometry());
    screen.show();
    QApplication::processEvents();
    if (!screen.grab().save(QString::fromLocal8Bit(argv[1]))) {
        qCritical("could not write %s", argv[1]);
        return 1;
    }
    return 0;
}
