// A paint device that records what a painter draws, in the painter's own page
// units, so tests can check the printed sheet's geometry and texts exactly.
#pragma once

#include <QFont>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <memory>
#include <vector>

struct RecordedText {
    QPointF baseline;
    QString text;
    QFont font;
};

struct Recording {
    std::vector<QLineF> lines;         // single segments
    std::vector<QPolygonF> polylines;  // connected runs
    std::vector<QRectF> ellipses;      // bounding boxes
    std::vector<QPainterPath> paths;   // arcs
    std::vector<RecordedText> texts;
    std::vector<QColor> penColours;    // one per primitive, texts included
};

class RecordingDevice : public QPaintDevice {
public:
    // A page of the sheet's size at 72 dpi: one page unit is one device pixel and one
    // point, so the sheet's transform is the identity.
    RecordingDevice(int width = 12000, int height = 18000, int dpi = 72);
    ~RecordingDevice() override;

    QPaintEngine* paintEngine() const override;
    const Recording& recording() const { return recording_; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int width_;
    int height_;
    int dpi_;
    Recording recording_;
    std::unique_ptr<QPaintEngine> engine_;
};
