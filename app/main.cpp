// Voltra: a design calculator for single-switch Class E RF power amplifiers.
#include <QApplication>

#include <iostream>

#include "app/command_line.h"
#include "app/lost_window_watch.h"
#include "app/message_box_sink.h"
#include "app/program.h"
#include "simulation/ngspice_simulator.h"
#include "screens/welcome/program_icon.h"

using namespace voltra;

namespace {

// The one design of the process; every screen works on it in place.
DesignRecord theDesign;

}  // namespace

int main(int argc, char* argv[])
{
    NgspiceSimulator simulator;
    // Scripts design, verify and export without a window, and without a display to
    // open one on.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const auto exitCode = RunCommandLine(arguments, std::cout, std::cerr, simulator)) return *exitCode;

    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName("voltra");
    QApplication::setWindowIcon(ProgramIcon());
    // The program ends by "Exit" (the welcome screen's, or the design screen's after
    // confirmation) or when its window is lost: the design screen is closed and
    // rebuilt after every Get, so the last window closing is no signal of its own.
    application.setQuitOnLastWindowClosed(false);
    LostWindowWatch lostWindows;
    application.installNativeEventFilter(&lostWindows);

    MessageBoxSink messages;
    QtProgramDialogs dialogs;
    // exit() rather than quit(): quit() first asks every window to close, and the
    // design screen answers a close with the exit confirmation.
    Program program(theDesign, messages, dialogs, simulator, [] { QCoreApplication::exit(0); });
    program.Begin(DesignFileToOpen(arguments).value_or(""));
    return application.exec();
}
