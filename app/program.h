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
#include "screens/design/frm_design.h"
#include "screens/welcome/frm_opening.h"

class Program : public DesignCommands {
public:
    // `endProgram` leaves the event loop; the program ends with it.
    Program(DesignRecord& design, MessageSink& messages, ProgramDialogs& dialogs, std::function<void()> endProgram);
    ~Program() override;

    // Loads and shows the welcome screen: start-up values and the last session first.
    void Begin();

    frmOpening* WelcomeScreen() const { return welcome_; }
    frmDesign* DesignScreen() const { return designScreen_; }
    const std::string& DesignFileName() const { return designFileName_; }
    const std::string& SpiceFileName() const { return spiceFileName_; }

    void Get() override;
    void Save() override;
    void Spice() override;
    void Print() override;
    void About() override;
    void Exit() override;

private:
    void OpenDesignScreen();
    void RebuildDesignScreen();

    DesignRecord& design_;
    MessageSink& messages_;
    ProgramDialogs& dialogs_;
    std::function<void()> endProgram_;
    QPointer<frmOpening> welcome_;
    QPointer<frmDesign> designScreen_;
    // The paths last chosen: Get and Save share one, so Save proposes the file just read.
    std::string designFileName_;
    std::string spiceFileName_;
    // Chosen at start-up, so Exit writes the design back where it was read from.
    std::filesystem::path lastSessionFolder_;
};
