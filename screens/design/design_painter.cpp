// Strokes the schematic in drawing units and writes the labels in device pixels at
// their mapped anchors.
#include "screens/design/design_painter.h"
#include "screens/screen_style.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <cmath>

#include "screens/design/schematic.h"
#include "screens/design/schematic_labels.h"

namespace voltra {

namespace {

constexpr double kAnchorPenPixels = 1;
const QColor kRed(255, 0, 0);
// Qt measures arc angles in sixteenths of a degree.
constexpr double kSixteenthsPerRadian = 16 * 180 / 3.141592653589793;

QPen CosmeticPen(const QColor& colour, double width)
{
    QPen pen(colour, width);
    pen.setCosmetic(true);
    // Square ends close the corner where a lead meets the ground line.
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

QPointF OnPixel(QPointF point) { return QPointF(std::round(point.x()), std::round(point.y())); }

// What maps logical pixels onto the device once the drawing units are set aside.
double DevicePixelRatio(QPainter& painter)
{
    painter.save();
    painter.resetTransform();
    const double ratio = painter.deviceTransform().m11();
    painter.restore();
    return ratio;
}

void StrokeSchematic(QPainter& painter, const SchematicDrawing& drawing, int penPixels)
{
    // A cosmetic pen counts device pixels: on a high-density display the wires widen
    // by its pixel ratio and keep their width beside the text, as on any other.
    painter.setPen(CosmeticPen(Qt::black, penPixels * DevicePixelRatio(painter)));
    painter.setBrush(Qt::NoBrush);
    // Straight wires end on whole pixels, so a horizontal or vertical wire covers
    // exactly its pen width instead of smearing across a third pixel row.
    const QTransform units = painter.worldTransform();
    painter.save();
    painter.resetTransform();
    for (const QLineF& line : drawing.lines) painter.drawLine(QLineF(OnPixel(units.map(line.p1())), OnPixel(units.map(line.p2()))));
    painter.restore();
    for (const SchematicArc& arc : drawing.arcs) {
        const QRectF box(arc.centre.x() - arc.radius, arc.centre.y() - arc.radius, 2 * arc.radius, 2 * arc.radius);
        painter.drawArc(box, qRound(arc.startAngle * kSixteenthsPerRadian), qRound(arc.sweep * kSixteenthsPerRadian));
    }
}

QFont ScreenFont(int fontPixels)
{
    QFont font(kSansFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(fontPixels);
    font.setBold(false);
    return font;
}

void WriteLabels(QPainter& painter, const std::vector<SchematicLabel>& labels, int fontPixels,
                 const QColor& buttonFace)
{
    const QTransform units = painter.worldTransform();
    painter.save();
    painter.resetTransform();
    const QFont font = ScreenFont(fontPixels);
    painter.setFont(font);
    const double ascent = QFontMetricsF(font, painter.device()).ascent();
    for (const SchematicLabel& label : labels) {
        // Whole pixels keep the text's stems on the pixel grid.
        const QPointF corner = OnPixel(units.map(label.anchor));
        painter.setPen(CosmeticPen(label.anchorColour == AnchorColour::ButtonFace ? buttonFace : QColor(Qt::white),
                                   kAnchorPenPixels));
        painter.drawPoint(corner);
        painter.setPen(label.red ? kRed : QColor(Qt::black));
        painter.drawText(corner + QPointF(0, ascent), label.text);
    }
    painter.restore();
}

}  // namespace

void PaintDesign(QPainter& painter, const Circuit& shown, float pi, int fontPixels, int penPixels,
                 const QColor& buttonFace)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const SchematicDrawing drawing = SchematicOf(shown, pi);
    StrokeSchematic(painter, drawing, penPixels);
    painter.setRenderHint(QPainter::Antialiasing, false);
    WriteLabels(painter, SchematicLabels(shown, drawing.SchematicX), fontPixels, buttonFace);
    painter.restore();
}

QRegion LabelRegion(const Circuit& shown, const QTransform& units, int fontPixels)
{
    const QFontMetricsF metrics(ScreenFont(fontPixels));
    QRegion region;
    for (const SchematicLabel& label : SchematicLabels(shown, SchematicOf(shown, 0).SchematicX)) {
        const QPointF corner = OnPixel(units.map(label.anchor));
        const QRectF ink = metrics.boundingRect(label.text).translated(corner + QPointF(0, metrics.ascent()));
        // One pixel round it for antialiased edges and the anchor point.
        region += ink.united(QRectF(corner, QSizeF(1, 1))).toAlignedRect().adjusted(-1, -1, 1, 1);
    }
    return region;
}

}  // namespace voltra
