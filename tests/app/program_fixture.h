// Runs the program in a folder of its own, every dialog answered and every message recorded.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/program.h"
#include "files/design_file.h"

namespace voltra {

struct Said {
    std::string text;
    std::string title;
    bool windowVisible;  // was any window of the program on screen at the time
};

class Recorder : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        bool visible = false;
        for (const QWidget* window : QApplication::topLevelWidgets()) visible = visible || window->isVisible();
        said.push_back({text, title, visible});
    }
    void Beep() override { ++beeps; }

    std::vector<Said> said;
    int beeps = 0;
};

class ScriptedDialogs : public ProgramDialogs {
public:
    std::string OpenDesignFile() override
    {
        ++openAsked;
        return openPath;
    }
    std::string SaveDesignFile(const std::string& proposedPath) override
    {
        proposed.push_back(proposedPath);
        return savePath;
    }
    std::string SaveSpiceSchematic() override { return spicePath; }
    PrintDialogProvider& PrintDialog() override { return printer; }
    void ShowAbout() override { ++aboutShown; }
    void ConfirmExit(std::function<void()> quit) override
    {
        ++exitAsked;
        if (confirmExit) quit();
    }
    UnsavedChanges AskToSaveChanges(const std::string& fileName) override
    {
        askedToSave.push_back(fileName);
        return unsavedAnswer;
    }
    bool OpenDocument(const std::string& path) override
    {
        opened.push_back(path);
        return documentOpens;
    }

    // Prints into pdfPath; with none chosen it cancels.
    struct FilePrinter : PrintDialogProvider {
        bool Choose(QPrinter& printer) override
        {
            printer.setOutputFileName(QString::fromStdString(pdfPath));
            return !pdfPath.empty();
        }
        std::string pdfPath;
    } printer;
    std::string openPath, savePath, spicePath;
    std::vector<std::string> proposed;
    bool confirmExit = true;
    int openAsked = 0;
    int exitAsked = 0;
    UnsavedChanges unsavedAnswer = UnsavedChanges::Discard;
    std::vector<std::string> askedToSave;
    std::vector<std::string> opened;
    bool documentOpens = true;
    int aboutShown = 0;
};

// Answers every run at once with the design's own predictions, two samples a period.
class CountingSimulator : public Simulator {
public:
    SimulationOutcome Run(const SimulationRequest& request, std::stop_token) override
    {
        ++runs;
        SimulationResult result;
        result.figures.Pout = result.figures.Pin = 50;
        result.figures.Efficiency = 1;
        result.figures.periods = 2;
        result.figures.steady = true;
        const double period = 1 / request.frequency;
        result.waveforms = {{0, period / 2, period}, {0, 50, 0}, {4, 0, 4}, {0, 10, -10}, {true, false, true}, period};
        return {result, "", false};
    }
    std::atomic<int> runs = 0;
};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = std::filesystem::current_path();
        folder_ = std::filesystem::temp_directory_path() /
                  ("voltra-program-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
        // The user's own home and data folder stay out of reach.
        ::setenv("HOME", (folder_ / "home").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
    }
    void TearDown() override
    {
        program_.reset();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }

    // A fresh process: a zeroed design record, as at program start, and the design
    // file its command line named, if any.
    Program& Run(const std::string& designFile = {})
    {
        program_.reset();
        design_ = DesignRecord{};
        program_ = std::make_unique<Program>(design_, messages_, dialogs_, simulator_, [this] { ++ended_; });
        program_->Begin(designFile);
        return *program_;
    }
    void Click(QWidget* window, const char* button)
    {
        auto* found = window->findChild<QPushButton*>(button);
        ASSERT_NE(found, nullptr) << button;
        QTest::mouseClick(found, Qt::LeftButton);
    }
    void Start()
    {
        Click(program_->Welcome(), "cmdStart");
        QApplication::processEvents();
        ASSERT_NE(program_->Design(), nullptr);
    }
    QLineEdit* Box(const char* name) { return program_->Design()->findChild<QLineEdit*>(name); }
    // Where the last session is kept unless the working folder already holds one.
    std::filesystem::path DataSessionFile() const { return folder_ / "data/voltra" / kLastSessionFileName; }

    static std::string Contents(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void Write(const std::filesystem::path& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }

    DesignRecord design_;
    Recorder messages_;
    ScriptedDialogs dialogs_;
    CountingSimulator simulator_;
    std::unique_ptr<Program> program_;
    int ended_ = 0;
    std::filesystem::path folder_, previous_;
};

}  // namespace voltra
