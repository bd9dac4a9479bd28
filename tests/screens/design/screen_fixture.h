// A design screen on the start-up design, driven through its controls.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>

#include "screens/design/design_commands.h"
#include "screens/design/design_screen.h"
#include "screens/design/schematic.h"
#include "screens/design/up_down.h"

namespace voltra {

// Points along every wire and arc of the drawing, in the window's pixels.
inline std::vector<QPointF> InkOf(const SchematicDrawing& drawing, const QTransform& units)
{
    std::vector<QPointF> ink;
    for (const QLineF& line : drawing.lines)
        for (int i = 0; i <= 64; ++i) ink.push_back(units.map(line.pointAt(i / 64.0)));
    for (const SchematicArc& arc : drawing.arcs)
        for (int i = 0; i <= 64; ++i) {
            const double angle = arc.startAngle + arc.sweep * i / 64;
            ink.push_back(units.map(arc.centre + arc.radius * QPointF(std::cos(angle), -std::sin(angle))));
        }
    return ink;
}

// The screen's commands reach beyond it; here they do nothing but note what the
// screen reports, and the "Switch" choice lists the transistors of `folders` alone,
// none of the user's.
struct NoCommands : DesignCommands {
    void Get() override {}
    void Save() override {}
    void SaveInPlace() override {}
    void Spice() override {}
    void Verify() override {}
    void Print() override {}
    void About() override {}
    void UserGuide() override {}
    void Exit() override {}
    std::vector<std::filesystem::path> TransistorFolders() const override { return folders; }
    void Report(const std::string& text) override { reports.push_back(text); }
    std::vector<std::filesystem::path> folders;
    std::vector<std::string> reports;
};

class DesignScreenTest : public ::testing::Test {
protected:
    void SetUp() override { Fresh(); }
    void Fresh()
    {
        design = {};
        StartupValues(design);
    }
    void Open() { screen = std::make_unique<DesignScreen>(design, commands); }
    QLineEdit* Box(const char* name) const { return screen->findChild<QLineEdit*>(name); }
    QPushButton* Button(const char* name) const { return screen->findChild<QPushButton*>(name); }

    // Selects the box's text and types over it, key by key.
    void Type(const char* box, const QString& text) const
    {
        Box(box)->setFocus();
        QTest::keyClick(Box(box), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Box(box), text);
    }

    // The boxes in the order of their targets and arrows (UpDown1 to 6).
    static int Index(const char* box)
    {
        return QStringList{"txtFrequency", "txtPower", "txtSupply", "txtSaturation", "txtNetworkQ", "txtFalltime"}.indexOf(box);
    }
    float& Stored(const char* box) { return TargetField(design, kTargets[Index(box)]); }
    void Arrow(const char* box, Qt::ArrowType type) const
    {
        for (auto* arrow : screen->findChild<UpDown*>(QString("UpDown%1").arg(Index(box) + 1))->findChildren<QToolButton*>())
            if (arrow->arrowType() == type) QTest::mouseClick(arrow, Qt::LeftButton);
    }

    DesignRecord design;
    NoCommands commands;
    std::unique_ptr<DesignScreen> screen;
};

}  // namespace voltra
