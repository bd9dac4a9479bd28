// What the print tests share: a 12000 x 18000 page at 72 dpi that records what a painter
// draws, one page unit to a device pixel and to a point, and the start-up design.
#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>

#include "engine/equations.h"

// Claims every feature, so the painter hands primitives over untransformed.
class Recorder : public QPaintDevice, public QPaintEngine {
public:
    Recorder() : QPaintEngine(AllFeatures) {}
    std::vector<QLineF> lines;  // polylines arrive split into segments
    std::vector<QRectF> circles;
    std::vector<QPainterPath> arcs;
    std::vector<std::pair<QPointF, QString>> texts;  // baseline start and text

    QPaintEngine* paintEngine() const override { return const_cast<Recorder*>(this); }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState&) override {}
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override
    {
        for (int i = 1; i < count; ++i) lines.emplace_back(points[i - 1], points[i]);
    }
    void drawEllipse(const QRectF& box) override { circles.push_back(box); }
    void drawPath(const QPainterPath& path) override { arcs.push_back(path); }
    void drawTextItem(const QPointF& at, const QTextItem& item) override { texts.emplace_back(at, item.text()); }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return 12000;
        case PdmHeight: return 18000;
        case PdmDevicePixelRatioScaled: return devicePixelRatioFScale();
        default: return 72;
        }
    }
};

inline void PrintTo(const QPointF& point, std::ostream* out) { *out << '(' << point.x() << ", " << point.y() << ')'; }
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// The start-up design after the L-network resistance was typed as 50 and then as `rnetwork`.
inline DesignRecord DesignWith(std::int16_t lnetState, const char* rnetwork = kRnetworkFirstText)
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    LnetworkWorking working;
    FindLnetwork(design, working, kRnetworkFirstText);
    FindLnetwork(design, working, rnetwork);
    design.LnetState = lnetState;
    return design;
}
