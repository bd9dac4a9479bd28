#include "app/program.h"

#include "files/design_file.h"
#include "files/last_session_folder.h"
#include "files/spice_schematic.h"
#include "print/print_schematic.h"
#include "screens/blank/blank_screen.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <QScreen>

namespace voltra {

namespace {

// Maximized, and sized to the screen first, so the window fills the display even
// where no window manager acts on the maximized state.
void ShowMaximized(QWidget& window)
{
    if (const QScreen* screen = window.screen()) window.setGeometry(screen->availableGeometry());
    window.showMaximized();
}

// Passes every message on and notes whether any was said: the file writers report a
// failure only to the user.
class Noting : public MessageSink {
public:
    explicit Noting(MessageSink& to) : to_(to) {}
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        said = true;
        to_.ShowMessage(text, title);
    }
    void Beep() override
    {
        said = true;
        to_.Beep();
    }
    bool said = false;

private:
    MessageSink& to_;
};

}  // namespace

Program::Program(DesignRecord& design, MessageSink& messages, ProgramDialogs& dialogs, Simulator& simulator,
                 std::function<void()> endProgram)
    : design_(design), messages_(messages), dialogs_(dialogs), endProgram_(std::move(endProgram)),
      simulator_(simulator)
{
}

Program::~Program()
{
    ended_ = true;
    QObject::disconnect(designLost_);
    delete welcome_;
    delete designScreen_;
    delete verification_;
}

void Program::End()
{
    if (ended_) return;
    ended_ = true;
    endProgram_();
}

void Program::ReadStartFile(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    std::string why = error ? error.message() : "";
    if (why.empty() && !std::filesystem::is_regular_file(status)) why = "it is not a regular file";
    if (why.empty() && !std::ifstream(path)) why = std::strerror(errno);
    if (!why.empty()) {
        messages_.ShowMessage("The design file \"" + path + "\" could not be read (" + why +
                                  "); the design of the last session is shown instead.",
                              kProgramTitle);
        return;
    }
    ReadDesignFile(path, design_, messages_);
    designFileName_ = path;
}

void Program::Begin(const std::string& designFile)
{
    WelcomeScreen::Actions actions{
        [this, designFile] {
            StartupValues(design_);
            lastSessionFolder_ = LastSessionFolder();
            ReadLastSession(lastSessionFolder_, design_, messages_);
            if (!designFile.empty()) ReadStartFile(designFile);
        },
        [this] {
            OpenDesignScreen();
            if (!designFileName_.empty()) designScreen_->SetFileInUse(QString::fromStdString(designFileName_));
        },
        // Leaving from the welcome screen keeps the last-session file as it was.
        [this] { End(); },
    };
    welcome_ = new WelcomeScreen(design_, std::move(actions));
    welcome_->setAttribute(Qt::WA_DeleteOnClose);
    // A welcome screen lost before "Start" leaves as its "Exit" does.
    QObject::connect(welcome_, &QObject::destroyed, [this] {
        if (!designScreen_) End();
    });
    ShowMaximized(*welcome_);
}

void Program::OpenDesignScreen()
{
    designScreen_ = new DesignScreen(design_, *this);
    // A window taken away from outside the program gives it no chance to ask: the
    // design in force is kept for the next start all the same.
    designLost_ = QObject::connect(designScreen_, &QObject::destroyed, [this] {
        if (ended_) return;
        WriteLastSession(lastSessionFolder_, design_, messages_);
        End();
    });
    ShowMaximized(*designScreen_);
}

void Program::RebuildDesignScreen()
{
    // The blank screen covers the display while the old screen goes and the new one
    // loads from the design record. The old one is still inside its button's click
    // handling, so it is deleted once that has returned.
    BlankScreen blank;
    ShowMaximized(blank);
    // Paint it now, before the new screen's load keeps the event loop busy.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (designScreen_) {
        QObject::disconnect(designLost_);
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
    // A file that could not be read left the start-up design, which is no file's.
    std::error_code noFile;
    if (std::filesystem::is_regular_file(designFileName_, noFile))
        designScreen_->SetFileInUse(QString::fromStdString(designFileName_));
}

void Program::WriteDesign(const std::string& path)
{
    designFileName_ = path;
    Noting messages(messages_);
    WriteDesignFile(designFileName_, design_, messages);
    // A failed write has said so; the design still differs from every file.
    if (designScreen_ && !messages.said) designScreen_->SetFileInUse(QString::fromStdString(path));
}

void Program::Save()
{
    // Leaving the dialog without a choice writes nothing, not even over the file it proposed.
    const std::string chosen = dialogs_.SaveDesignFile(designFileName_);
    if (chosen.empty()) return;
    WriteDesign(chosen);
}

void Program::SaveInPlace()
{
    if (designFileName_.empty()) return Save();
    WriteDesign(designFileName_);
}

const DesignRecord& Program::Shown() const { return designScreen_ ? designScreen_->ShownDesign() : design_; }

Circuit Program::ShownCircuit() const { return designScreen_ ? designScreen_->ShownCircuit() : BuildCircuit(design_); }

void Program::Spice()
{
    // A design with invalid results cannot become part values: say so before asking
    // for a file name.
    const Circuit circuit = ShownCircuit();
    if (!CheckSpiceExportable(circuit, messages_)) return;
    spiceFileName_ = dialogs_.SaveSpiceSchematic();
    WriteSpiceSchematic(spiceFileName_, circuit, messages_);
}

void Program::Verify()
{
    if (!verification_) verification_ = new VerificationWindow(simulator_);
    verification_->show();
    verification_->raise();
    verification_->Follow(Shown(), ShownCircuit());
}

void Program::Recalculated(const DesignRecord& shown, const Circuit& circuit)
{
    if (verification_ && verification_->isVisible()) verification_->Follow(shown, circuit);
}

void Program::Print()
{
    // A verification on screen of the design being printed goes on a second page.
    ExtraPage verificationPage;
    if (verification_ && verification_->isVisible() && !verification_->Busy() && verification_->ShowsResult())
        verificationPage = [window = verification_.data()](QPainter& page) { window->PaintReport(page); };
    PrintSchematic(Shown(), ShownCircuit(), dialogs_.PrintDialog(), messages_, verificationPage);
}

void Program::About() { dialogs_.ShowAbout(); }

void Program::Exit()
{
    // A failed write has been reported by then; the program ends all the same.
    dialogs_.ConfirmExit([this] {
        WriteLastSession(lastSessionFolder_, design_, messages_);
        End();
    });
}

}  // namespace voltra
