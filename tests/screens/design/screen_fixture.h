// A design screen on the start-up design, driven through its controls as a user
// would, with commands that only record what was asked of them.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "screens/design/design_commands.h"
#include "screens/design/frm_design.h"
#include "screens/design/up_down.h"

class RecordingCommands : public DesignCommands {
public:
    void Get() override { asked += "Get "; }
    void Save() override { asked += "Save "; }
    void Spice() override { asked += "Spice "; }
    void Print() override { asked += "Print "; }
    void About() override { asked += "About "; }
    void Exit() override { asked += "Exit "; }
    std::string asked;
};

class DesignScreenTest : public ::testing::Test {
protected:
    void SetUp() override { Fresh(); }
    void Fresh()
    {
        design = {};
        StartupValues(design);
    }
    void Open() { screen = std::make_unique<frmDesign>(design, commands); }
    QLineEdit* Box(const char* name) const { return screen->findChild<QLineEdit*>(name); }
    QPushButton* Button(const char* name) const { return screen->findChild<QPushButton*>(name); }

    // Replaces the box's text one key at a time.
    void Type(const char* box, const QString& text) const
    {
        Box(box)->setFocus();
        QTest::keyClick(Box(box), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Box(box), text);
    }

    // The target an entry box holds, and its arrows, in the boxes' order on screen.
    static int Index(const char* box)
    {
        return QStringList{"txtFrequency", "txtPower", "txtSupply", "txtSaturation", "txtNetworkQ", "txtFalltime"}
            .indexOf(box);
    }
    float& Stored(const char* box) { return TargetField(design, kTargets[Index(box)]); }
    void Arrow(const char* box, int direction) const
    {
        const auto arrows = screen->findChild<UpDown*>(QStringLiteral("UpDown%1").arg(Index(box) + 1));
        for (QToolButton* arrow : arrows->findChildren<QToolButton*>())
            if (arrow->arrowType() == (direction > 0 ? Qt::UpArrow : Qt::DownArrow))
                QTest::mouseClick(arrow, Qt::LeftButton);
    }

    DesignRecord design;
    RecordingCommands commands;
    std::unique_ptr<frmDesign> screen;
};
