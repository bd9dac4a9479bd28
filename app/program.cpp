#include "app/program.h"

#include "files/design_file.h"
#include "files/last_session_folder.h"
#include "files/spice_schematic.h"
#include "print/print_schematic.h"
#include "screens/blank/frm_blank.h"

#include <QCoreApplication>
#include <QScreen>

namespace {

// Maximized, and sized to the screen first, so the window fills the display even
// where no window manager acts on the maximized state.
void ShowMaximized(QWidget& window)
{
    if (const QScreen* screen = window.screen()) window.setGeometry(screen->availableGeometry());
    window.showMaximized();
}

}  // namespace

Program::Program(DesignRecord& design, MessageSink& messages, ProgramDialogs& dialogs,
                 std::function<void()> endProgram)
    : design_(design), messages_(messages), dialogs_(dialogs), endProgram_(std::move(endProgram))
{
}

Program::~Program()
{
    delete welcome_;
    delete designScreen_;
}

void Program::Begin()
{
    frmOpening::Actions actions{
        [this] {
            StartupValues(design_);
            lastSessionFolder_ = voltra::LastSessionFolder();
            ReadLastSession(lastSessionFolder_, design_, messages_);
        },
        [this] { OpenDesignScreen(); },
        // Leaving from the welcome screen keeps the last-session file as it was.
        [this] { endProgram_(); },
    };
    welcome_ = new frmOpening(design_, std::move(actions));
    welcome_->setAttribute(Qt::WA_DeleteOnClose);
    ShowMaximized(*welcome_);
}

void Program::OpenDesignScreen()
{
    designScreen_ = new frmDesign(design_, *this);
    ShowMaximized(*designScreen_);
}

void Program::RebuildDesignScreen()
{
    // The blank screen covers the display while the old screen goes and the new one
    // loads from the design record. The old one is still inside its button's click
    // handling, so it is deleted once that has returned.
    frmBlank blank;
    ShowMaximized(blank);
    // Paint it now, before the new screen's load keeps the event loop busy.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (designScreen_) {
        designScreen_->hide();
        designScreen_->deleteLater();
    }
    OpenDesignScreen();
    blank.close();
}

void Program::Get()
{
    designFileName_ = dialogs_.OpenDesignFile();
    ReadDesignFile(designFileName_, design_, messages_);
    RebuildDesignScreen();
}

void Program::Save()
{
    // Leaving the dialog without a choice writes nothing, not even over the file it proposed.
    const std::string chosen = dialogs_.SaveDesignFile(designFileName_);
    if (chosen.empty()) return;
    designFileName_ = chosen;
    WriteDesignFile(designFileName_, design_, messages_);
}

void Program::Spice()
{
    // A design with failed results cannot become part values: say so before asking
    // for a file name.
    if (!CheckSpiceExportable(design_, messages_)) return;
    spiceFileName_ = dialogs_.SaveSpiceSchematic();
    WriteSpiceSchematic(spiceFileName_, design_, messages_);
}

void Program::Print() { PrintSchematic(design_, dialogs_.PrintDialog(), messages_); }

void Program::About() { dialogs_.ShowAbout(design_); }

void Program::Exit()
{
    // A failed write has been reported by then; the program ends all the same.
    dialogs_.ConfirmExit([this] {
        WriteLastSession(lastSessionFolder_, design_, messages_);
        endProgram_();
    });
}
