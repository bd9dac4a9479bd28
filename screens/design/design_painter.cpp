// Strokes the schematic in drawing units and writes the labels in device pixels at
// their mapped anchors.
#include "screens/design/design_painter.h"
#include "screens/screen_style.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <optional>

#include "screens/design/schematic.h"
#include "screens/design/schematic_labels.h"

namespace voltra {

namespace {

constexpr double kAnchorPenPixels = 1;
// How far past its geometry an antialiased stroke or a glyph's ink may reach.
constexpr double kAntialiasPixels = 2;
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

// The device pixels the painter may still change, or none when it is not clipped. A
// keystroke repaints only the labels that changed, and every stroke and text outside
// them is skipped before Qt builds its outline: the antialiased arcs and the shaped
// text are most of a repaint's time.
std::optional<QRegion> DeviceClip(QPainter& painter)
{
    if (!painter.hasClipping()) return std::nullopt;
    painter.save();
    painter.resetTransform();
    QRegion clip = painter.clipRegion();
    painter.restore();
    return clip;
}

// Whether a device rectangle, widened by the pen and the antialiased edge, meets the clip.
bool Touches(const std::optional<QRegion>& clip, const QRectF& device, double margin)
{
    return !clip || clip->intersects(device.adjusted(-margin, -margin, margin, margin).toAlignedRect());
}

void StrokeSchematic(QPainter& painter, const SchematicDrawing& drawing, int penPixels,
                     const std::optional<QRegion>& clip)
{
    // A cosmetic pen counts device pixels: on a high-density display the wires widen
    // by its pixel ratio and keep their width beside the text, as on any other.
    const double penWidth = penPixels * DevicePixelRatio(painter);
    painter.setPen(CosmeticPen(Qt::black, penWidth));
    painter.setBrush(Qt::NoBrush);
    const double margin = penWidth + kAntialiasPixels;
    // Straight wires end on whole pixels, so a horizontal or vertical wire covers
    // exactly its pen width instead of smearing across a third pixel row.
    const QTransform units = painter.worldTransform();
    painter.save();
    painter.resetTransform();
    for (const QLineF& line : drawing.lines) {
        const QLineF device(OnPixel(units.map(line.p1())), OnPixel(units.map(line.p2())));
        if (Touches(clip, QRectF(device.p1(), device.p2()).normalized(), margin)) painter.drawLine(device);
    }
    painter.restore();
    for (const SchematicArc& arc : drawing.arcs) {
        const QRectF box(arc.centre.x() - arc.radius, arc.centre.y() - arc.radius, 2 * arc.radius, 2 * arc.radius);
        if (!Touches(clip, units.mapRect(box), margin)) continue;
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

// `pixels`, when given, holds each label's measured pixels, which decide whether it
// reaches into the clip; without, a bound from the font's widest glyph does.
void WriteLabels(QPainter& painter, const std::vector<SchematicLabel>& labels, const std::vector<QRect>* pixels,
                 int fontPixels, const QColor& buttonFace, const std::optional<QRegion>& clip)
{
    const QTransform units = painter.worldTransform();
    painter.save();
    painter.resetTransform();
    const QFont font = ScreenFont(fontPixels);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double ascent = metrics.ascent();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const SchematicLabel& label = labels[i];
        // Whole pixels keep the text's stems on the pixel grid.
        const QPointF corner = OnPixel(units.map(label.anchor));
        if (pixels) {
            if (!Touches(clip, (*pixels)[i], kAntialiasPixels)) continue;
        } else {
            // No glyph is wider than the font's widest: a bound on the ink without shaping.
            const QRectF bound(corner, QSizeF(label.text.size() * metrics.maxWidth(), metrics.height()));
            if (!Touches(clip, bound, kAntialiasPixels + fontPixels)) continue;
        }
        painter.setPen(CosmeticPen(label.anchorColour == AnchorColour::ButtonFace ? buttonFace : QColor(Qt::white),
                                   kAnchorPenPixels));
        painter.drawPoint(corner);
        painter.setPen(label.red ? kRed : QColor(Qt::black));
        painter.drawText(corner + QPointF(0, ascent), label.text);
    }
    painter.restore();
}

bool SameLabel(const SchematicLabel& a, const SchematicLabel& b)
{
    return a.anchor == b.anchor && a.anchorColour == b.anchorColour && a.text == b.text && a.red == b.red;
}

}  // namespace

void PaintDesign(QPainter& painter, const Circuit& shown, float pi, int fontPixels, int penPixels,
                 const QColor& buttonFace, const LabelPixels* measured)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const SchematicDrawing drawing = SchematicOf(shown, pi);
    const std::optional<QRegion> clip = DeviceClip(painter);
    StrokeSchematic(painter, drawing, penPixels, clip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (measured && measured->units == painter.worldTransform() && measured->fontPixels == fontPixels)
        WriteLabels(painter, measured->labels, &measured->pixels, fontPixels, buttonFace, clip);
    else
        WriteLabels(painter, SchematicLabels(shown, drawing.SchematicX), nullptr, fontPixels, buttonFace, clip);
    painter.restore();
}

namespace {

// A bound on a label's ink without shaping it: the sum of its characters' advances,
// widened by the font's largest overhang on each side, over the font's full height.
// Shaping every changed label once to measure it and once to draw it cost a keystroke
// as much as drawing them; kerning only narrows a line of Latin text, so the sum of
// advances never falls short of it. The advances of one font size are kept.
class InkBound {
public:
    explicit InkBound(int fontPixels) : fontPixels_(fontPixels), metrics_(ScreenFont(fontPixels)) {}
    int FontPixels() const { return fontPixels_; }
    QRectF Of(const QString& text)
    {
        double advance = 0;
        for (const QChar c : text) {
            auto found = advances_.find(c.unicode());
            if (found == advances_.end()) found = advances_.insert(c.unicode(), metrics_.horizontalAdvance(c));
            advance += *found;
        }
        const double left = std::min(0.0, metrics_.minLeftBearing());
        const double right = std::min(0.0, metrics_.minRightBearing());
        // Shaped ink is measured out to whole pixels: one more below the font's height.
        return QRectF(left, 0, advance - left - right, metrics_.height() + 1);
    }

private:
    int fontPixels_;
    QFontMetricsF metrics_;
    QHash<char16_t, double> advances_;
};

}  // namespace

QRectF LabelInkBound(const QString& text, int fontPixels)
{
    // The screen measures on the GUI thread alone, at one font size at a time.
    static std::optional<InkBound> bound;
    if (!bound || bound->FontPixels() != fontPixels) bound.emplace(fontPixels);
    return bound->Of(text);
}

LabelPixels MeasureLabels(const Circuit& shown, const QTransform& units, int fontPixels, const LabelPixels* before)
{
    LabelPixels measured{SchematicLabels(shown, SchematicOf(shown, 0).SchematicX), {}, units, fontPixels};
    const bool comparable = before && before->units == units && before->fontPixels == fontPixels;
    measured.pixels.reserve(measured.labels.size());
    for (std::size_t i = 0; i < measured.labels.size(); ++i) {
        const SchematicLabel& label = measured.labels[i];
        if (comparable && i < before->labels.size() && SameLabel(before->labels[i], label)) {
            measured.pixels.push_back(before->pixels[i]);
            continue;
        }
        const QPointF corner = OnPixel(units.map(label.anchor));
        const QRectF ink = LabelInkBound(label.text, fontPixels).translated(corner);
        // One pixel round it for antialiased edges and the anchor point.
        measured.pixels.push_back(ink.united(QRectF(corner, QSizeF(1, 1))).toAlignedRect().adjusted(-1, -1, 1, 1));
    }
    return measured;
}

QRegion ChangedLabelRegion(const LabelPixels& before, const LabelPixels& after)
{
    const bool comparable = before.units == after.units && before.fontPixels == after.fontPixels;
    QRegion region;
    for (std::size_t i = 0; i < std::max(before.labels.size(), after.labels.size()); ++i) {
        const bool both = i < before.labels.size() && i < after.labels.size();
        if (comparable && both && SameLabel(before.labels[i], after.labels[i])) continue;
        if (i < before.pixels.size()) region += before.pixels[i];
        if (i < after.pixels.size()) region += after.pixels[i];
    }
    return region;
}

}  // namespace voltra
