// The running program: the welcome screen, then the design screen and the
// commands its buttons give, all on the one design record of the process.
#pragma once

#include <QPointer>
#include <filesystem>
#include <functional>
#include <string>

#include "app/program_dialogs.h"
#include "engine/design_record.h"
#include "engine/message_sink.h"
#include "screens/design/design_commands.h"
#include "screens/design/design_screen.h"
#include "screens/verify/verification_window.h"
#include "screens/welcome/welcome_screen.h"

namespace voltra {

class Program : public DesignCommands {
public:
    // `endProgram` leaves the event loop; the program ends with it.
    Program(DesignRecord& design, MessageSink& messages, ProgramDialogs& dialogs, Simulator& simulator,
            std::function<void()> endProgram);
    ~Program() override;

    // Loads and shows the welcome screen: start-up values and the last session first,
    // then `designFile` when one is named, as Get reads it; the design screen then
    // names it. One that cannot be read is reported and the last session stays.
    void Begin(const std::string& designFile = {});

    WelcomeScreen* Welcome() const { return welcome_; }
    DesignScreen* Design() const { return designScreen_; }
    const std::string& DesignFileName() const { return designFileName_; }
    const std::string& SpiceFileName() const { return spiceFileName_; }
    VerificationWindow* Verification() const { return verification_; }

    void Get() override;
    void Save() override;
    void SaveInPlace() override;
    void Spice() override;
    void Verify() override;
    void Recalculated(const DesignRecord& shown, const Circuit& circuit) override;
    void Print() override;
    void About() override;
    void UserGuide() override;
    void Exit() override;
    // The user's device folder and the installed one.
    std::vector<std::filesystem::path> TransistorFolders() const override;
    void Report(const std::string& text) override;

private:
    // The design the screen last drew: a box whose value did not recalculate is not
    // part of it, so LTspice and Print never mix two designs.
    const DesignRecord& Shown() const;
    Circuit ShownCircuit() const;
    std::vector<InductorWinding> ShownWindings() const;
    void OpenDesignScreen();
    void RebuildDesignScreen();
    void WriteDesign(const std::string& path);
    // The design on screen differs from the file it names.
    bool UnsavedNamedDesign() const;
    // Asks about such changes before the design is replaced or left: true to go on,
    // once they are saved or discarded.
    bool SettleUnsavedChanges();
    // The file named at start-up, or the message why it cannot be read.
    void ReadStartFile(const std::string& path);
    // Ends the run once, whichever way it was asked for.
    void End();

    DesignRecord& design_;
    MessageSink& messages_;
    ProgramDialogs& dialogs_;
    std::function<void()> endProgram_;
    QPointer<WelcomeScreen> welcome_;
    QPointer<DesignScreen> designScreen_;
    Simulator& simulator_;
    QPointer<VerificationWindow> verification_;
    // Watches the design screen: its loss by any means but the rebuild ends the run
    // as a confirmed Exit does.
    QMetaObject::Connection designLost_;
    bool ended_ = false;
    // The paths last chosen: Get and Save share one, so Save proposes the file just read.
    std::string designFileName_;
    std::string spiceFileName_;
    // Chosen at start-up, so Exit writes the design back where it was read from.
    std::filesystem::path lastSessionFolder_;
};

}  // namespace voltra
