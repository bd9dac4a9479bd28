// The recording engine claims every feature, so QPainter hands it primitives
// untransformed, in page units.
#include "recording_device.h"

#include <QPaintEngine>
#include <QTextItem>
#include <limits>

namespace {

class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(Recording& recording) : QPaintEngine(AllFeatures), recording_(recording) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & DirtyPen) pen_ = state.pen();
        if (state.state() & DirtyFont) font_ = state.font();
    }

    void drawLines(const QLineF* lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            recording_.lines.push_back(lines[i]);
            recording_.penColours.push_back(pen_.color());
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override
    {
        recording_.polylines.emplace_back(QList<QPointF>(points, points + count));
        recording_.penColours.push_back(pen_.color());
    }

    void drawEllipse(const QRectF& box) override
    {
        recording_.ellipses.push_back(box);
        recording_.penColours.push_back(pen_.color());
    }

    void drawPath(const QPainterPath& path) override
    {
        recording_.paths.push_back(path);
        recording_.penColours.push_back(pen_.color());
    }

    void drawTextItem(const QPointF& baseline, const QTextItem& item) override
    {
        recording_.texts.push_back({baseline, item.text(), font_});
        recording_.penColours.push_back(pen_.color());
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

private:
    Recording& recording_;
    QPen pen_;
    QFont font_;
};

}  // namespace

RecordingDevice::RecordingDevice(int width, int height, int dpi)
    : width_(width), height_(height), dpi_(dpi), engine_(std::make_unique<RecordingEngine>(recording_))
{
}

RecordingDevice::~RecordingDevice() = default;

QPaintEngine* RecordingDevice::paintEngine() const { return engine_.get(); }

int RecordingDevice::metric(PaintDeviceMetric metric) const
{
    constexpr double kMillimetresPerInch = 25.4;
    switch (metric) {
    case PdmWidth: return width_;
    case PdmHeight: return height_;
    case PdmWidthMM: return static_cast<int>(width_ * kMillimetresPerInch / dpi_);
    case PdmHeightMM: return static_cast<int>(height_ * kMillimetresPerInch / dpi_);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return dpi_;
    case PdmDepth: return 32;
    case PdmNumColors: return std::numeric_limits<int>::max();
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}
