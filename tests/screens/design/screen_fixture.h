// A design screen on the start-up design, driven through its controls as a user
// would, with commands that only record what was asked of them.
#pragma once

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "engine/design_record.h"
#include "screens/design/design_commands.h"
#include "screens/design/frm_design.h"
#include "screens/design/up_down.h"

class RecordingCommands : public DesignCommands {
public:
    void Get() override { asked.push_back("Get"); }
    void Save() override { asked.push_back("Save"); }
    void Spice() override { asked.push_back("Spice"); }
    void Print() override { asked.push_back("Print"); }
    void About() override { asked.push_back("About"); }
    void Exit() override { asked.push_back("Exit"); }
    std::vector<std::string> asked;
};

class DesignScreenTest : public ::testing::Test {
protected:
    void SetUp() override { StartupValues(design); }

    frmDesign& Open()
    {
        screen = std::make_unique<frmDesign>(design, commands);
        return *screen;
    }

    QLineEdit* Box(const char* name) const { return screen->findChild<QLineEdit*>(QLatin1String(name)); }

    // Replaces the box's text by typing, one key at a time, as a user does.
    void Type(const char* name, const QString& text) const
    {
        QLineEdit* box = Box(name);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }

    void Arrow(const char* upDown, int direction) const
    {
        auto buttons = screen->findChild<UpDown*>(QLatin1String(upDown))->findChildren<QToolButton*>();
        for (QToolButton* button : buttons)
            if (button->arrowType() == (direction > 0 ? Qt::UpArrow : Qt::DownArrow)) QTest::mouseClick(button, Qt::LeftButton);
    }

    DesignRecord design;
    RecordingCommands commands;
    std::unique_ptr<frmDesign> screen;
};
