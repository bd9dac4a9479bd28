// Voltra: opens the design screen on the start-up design.
#include <QApplication>

#include "engine/design_record.h"
#include "screens/design/design_commands.h"
#include "screens/design/frm_design.h"

namespace {

// The one design of the process; every screen works on it in place.
DesignRecord theDesign;

// Until the files, printing and the other screens arrive, only Exit does anything:
// it ends the program.
class StartupCommands : public DesignCommands {
public:
    void Get() override {}
    void Save() override {}
    void Spice() override {}
    void Print() override {}
    void About() override {}
    void Exit() override { QApplication::quit(); }
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    StartupValues(theDesign);
    StartupCommands commands;
    frmDesign design(theDesign, commands);
    design.showMaximized();
    return application.exec();
}
