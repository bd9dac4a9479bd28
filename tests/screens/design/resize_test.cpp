// The design screen opened large and then resized, as a user drags a window: every
// text whole and apart, the schematic's values clear of its wires, and text, wires
// and arrows scaled to the window.
#include <QImage>
#include <QLabel>

#include "screen_fixture.h"
#include "screens/object_names.h"
#include "screens/design/design_painter.h"
#include "screens/design/drawing_units.h"
#include "screens/design/schematic.h"
#include "screens/design/schematic_labels.h"
#include "screens/screen_style.h"
#include "tests/screens/text_boxes.h"

namespace voltra {

namespace {

// The rows of an arrow button's face that its arrow darkens.
int ArrowRows(QWidget& button)
{
    const QImage face = button.grab().toImage();
    int rows = 0;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if (qGray(face.pixel(x, y)) < 96) {
                ++rows;
                break;
            }
    return rows;
}

// A keystroke after a resize repaints its labels' old pixels where they were painted
// last, at the new size: the screen's record of them follows the resize.
TEST_F(DesignScreenTest, AResizeMovesTheRecordOfTheLabelsPixels)
{
    Open();
    screen->show();
    screen->resize(1000, 700);
    for (QSize size : {QSize(1920, 1080), QSize(800, 600)}) {
        screen->resize(size);
        ASSERT_EQ(screen->size(), size);
        const LabelPixels& recorded = screen->ShownLabels();
        EXPECT_EQ(recorded.units, screen->Units());
        const LabelPixels fresh = MeasureLabels(screen->ShownCircuit(), screen->Units(), recorded.fontPixels, nullptr);
        EXPECT_EQ(recorded.pixels, fresh.pixels);
    }
}

// The bound a keystroke clears around a changed label, found without shaping it, covers
// the ink of the shaped text at every font size the screen takes, for every label of
// the plain, the L-network and the exact designs; and it is no wider than the text
// plus an em, so a keystroke does not repaint the screen's neighbours for nothing.
TEST_F(DesignScreenTest, ALabelsInkBoundCoversItsShapedInk)
{
    Open();
    std::vector<QString> texts;
    auto collect = [&] {
        const Circuit circuit = screen->ShownCircuit();
        for (const SchematicLabel& label : SchematicLabels(circuit, SchematicOf(circuit, 0).SchematicX))
            texts.push_back(label.text);
    };
    collect();
    Button("cmdLnetYes")->click();
    for (const char* rnetwork : {"2", "50"}) {
        Type("txtRnetwork", rnetwork);
        collect();
    }
    Button(kExactButtonName)->click();
    collect();
    Button(kExactButtonName)->click();
    texts.push_back(QStringLiteral("Ω µ °C fjy"));
    ASSERT_GT(texts.size(), 40u);
    for (int fontPixels : {9, 13, 16, 24, 37, 60}) {
        QFont font(kSansFamily);
        font.setPixelSize(fontPixels);
        const QFontMetricsF metrics(font);
        for (const QString& text : texts) {
            SCOPED_TRACE(text.toStdString() + " at " + std::to_string(fontPixels) + " px");
            const QRectF bound = LabelInkBound(text, fontPixels);
            const QRectF ink = metrics.boundingRect(text).translated(0, metrics.ascent());
            EXPECT_TRUE(bound.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(ink)) << ink.x() << "," << ink.y() << "," << ink.right() << "," << ink.bottom() << " in " << bound.x() << "," << bound.y() << "," << bound.right() << "," << bound.bottom();
            EXPECT_LE(bound.width(), metrics.horizontalAdvance(text) + fontPixels);
        }
    }
}

TEST_F(DesignScreenTest, OpenedMaximizedThenResizedEveryTextStaysWholeApartAndOffTheWires)
{
    Open();
    screen->show();
    screen->resize(1920, 1080);
    const int maximizedFont = Box("txtFrequency")->font().pixelSize();
    std::map<int, int> fontAtHeight;
    for (bool lnet : {false, true}) {
        if (lnet) {
            Button("cmdLnetYes")->click();
            Type("txtRnetwork", "2");  // the series-L-first network writes the most labels
        }
        for (QSize size : {QSize(800, 600), QSize(1366, 768), QSize(3840, 2160), QSize(1920, 1080), QSize(1024, 768)}) {
            SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()) + (lnet ? " L-net" : ""));
            screen->resize(size);
            ASSERT_EQ(screen->size(), size);
            const std::vector<PlacedText> controls = ExpectWholeTextsApart(*screen);
            EXPECT_GE(controls.size(), lnet ? 22u : 20u);

            const int fontPixels = Box("txtFrequency")->font().pixelSize();
            fontAtHeight[size.height()] = fontPixels;
            QFont font(kSansFamily);
            font.setPixelSize(fontPixels);
            const QFontMetricsF metrics(font);
            const QTransform units = screen->Units();
            const Circuit circuit = BuildCircuit(screen->ShownDesign());
            const SchematicDrawing drawing = SchematicOf(circuit, screen->ShownDesign().Pi);
            const std::vector<QPointF> ink = InkOf(drawing, units);
            std::vector<QRectF> written;
            for (const SchematicLabel& label : SchematicLabels(circuit, drawing.SchematicX)) {
                const std::string text = label.text.toStdString();
                const QRectF box = metrics.boundingRect(label.text)
                                       .translated(units.map(label.anchor) + QPointF(0, metrics.ascent()));
                EXPECT_TRUE(QRectF(screen->rect()).contains(box)) << text;
                for (const QRectF& other : written) EXPECT_FALSE(box.intersects(other)) << text;
                for (const QPointF& point : ink) EXPECT_FALSE(box.contains(point)) << text;
                for (QWidget* control : screen->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                    if (!control->isVisible()) continue;
                    EXPECT_FALSE(box.intersects(control->geometry()))
                        << text << " under " << control->objectName().toStdString();
                }
                written.push_back(box);
            }
        }
    }
    EXPECT_LT(fontAtHeight[600], maximizedFont) << "a window made small takes small text";
    EXPECT_GT(fontAtHeight[2160], 2 * fontAtHeight[768]);
    EXPECT_GE(fontAtHeight[600], 9) << "still legible";

    // The arrows fill their share of the face at any size.
    for (QSize size : {QSize(800, 600), QSize(3840, 2160)}) {
        screen->resize(size);
        auto* up = screen->findChild<UpDown*>("UpDown1")->findChildren<QToolButton*>().front();
        EXPECT_GE(ArrowRows(*up), up->height() / 3) << size.height();
    }
}

}  // namespace

}  // namespace voltra
