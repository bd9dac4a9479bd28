#include "app/program.h"

#include "app/user_guide.h"
#include "files/design_file.h"
#include "files/design_file_check.h"
#include "files/device_folders.h"
#include "files/last_session_folder.h"
#include "files/spice_schematic.h"
#include "print/print_schematic.h"
#include "screens/blank/blank_screen.h"

#include <QCoreApplication>
#include <filesystem>
#include <QScreen>

namespace voltra {

namespace {

constexpr const char* kUserGuideMissing = "The user guide was not found. It is installed in ";
constexpr const char* kUserGuideNotShown = "No program on this desktop would show the user guide. It is ";

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
    // The same check as Open: a file that is no design never becomes the file in use,
    // so a later Save cannot overwrite it.
    if (const std::optional<std::string> problem = DesignFileProblem(path)) {
        messages_.ShowMessage("\"" + path + "\": " + *problem + "\nThe design of the last session is shown instead.",
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

std::vector<std::filesystem::path> Program::TransistorFolders() const { return DeviceFolders(); }

void Program::Report(const std::string& text) { messages_.ShowMessage(text, kProgramTitle); }

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
    // The verification window stays in front of the screen it follows, a new one too.
    if (verification_) {
        const bool shown = verification_->isVisible();
        verification_->setParent(designScreen_, verification_->windowFlags());
        if (shown) verification_->show();
    }
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

bool Program::UnsavedNamedDesign() const
{
    return designScreen_ && designScreen_->IsModified() && !designScreen_->FileInUse().isEmpty();
}

bool Program::SettleUnsavedChanges()
{
    if (!UnsavedNamedDesign()) return true;
    const std::string fileInUse = designScreen_->FileInUse().toStdString();
    switch (dialogs_.AskToSaveChanges(fileInUse)) {
    case UnsavedChanges::Save:
        WriteDesign(fileInUse);
        // A failed write has said so; the changes are still only on screen.
        return !designScreen_->IsModified();
    case UnsavedChanges::Discard: return true;
    case UnsavedChanges::Cancel: break;
    }
    return false;
}

void Program::Get()
{
    if (!SettleUnsavedChanges()) return;
    const std::string chosen = dialogs_.OpenDesignFile();
    // Leaving the dialog without a choice changes nothing.
    if (chosen.empty()) return;
    // Nor does a file that is no design: the design and the file in use stay, so a
    // later Save cannot overwrite what was never a design of this program.
    if (const std::optional<std::string> problem = DesignFileProblem(chosen)) {
        messages_.ShowMessage(*problem, kProgramTitle);
        return;
    }
    designFileName_ = chosen;
    ReadDesignFile(designFileName_, design_, messages_);
    RebuildDesignScreen();
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

std::vector<InductorWinding> Program::ShownWindings() const
{
    return designScreen_ ? designScreen_->ShownWindings() : std::vector<InductorWinding>{};
}

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
    // A tool window of the design screen: in front of it while the user types.
    if (!verification_) verification_ = new VerificationWindow(simulator_, designScreen_);
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
    PrintSchematic(Shown(), ShownCircuit(), ShownWindings(), dialogs_.PrintDialog(), messages_, verificationPage);
}

void Program::About() { dialogs_.ShowAbout(); }

void Program::UserGuide()
{
    const std::filesystem::path programFolder = QCoreApplication::applicationDirPath().toStdString();
    const std::optional<std::filesystem::path> guide = FindUserGuide(programFolder, VOLTRA_SOURCE_DOCS);
    if (!guide) {
        messages_.ShowMessage(std::string(kUserGuideMissing) + (programFolder.parent_path() / kInstalledDocs).string() +
                                  ".",
                              kProgramTitle);
        return;
    }
    if (!dialogs_.OpenDocument(guide->string()))
        messages_.ShowMessage(std::string(kUserGuideNotShown) + guide->string() + ".", kProgramTitle);
}

void Program::Exit()
{
    // A failed write has been reported by then; the program ends all the same.
    const auto leave = [this] {
        WriteLastSession(lastSessionFolder_, design_, messages_);
        End();
    };
    // Changes not saved to the file in use are the question then; answering it is
    // the confirmation to leave.
    if (UnsavedNamedDesign()) {
        if (SettleUnsavedChanges()) leave();
        return;
    }
    dialogs_.ConfirmExit(leave);
}

}  // namespace voltra
