// Print test helpers: a recording 12000 x 18000 page at 72 dpi, and the start-up design.
#pragma once

#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>
#include <tuple>

#include "engine/equations.h"
#include "tests/calculated_design.h"

namespace voltra {

// Claiming every feature, it is handed primitives untransformed.
class Recorder : public QPaintDevice, public QPaintEngine {
public:
    Recorder() : QPaintEngine(AllFeatures) {}
    std::vector<QLineF> lines;  // polylines split into segments
    std::vector<QPainterPath> paths;  // circles and arcs
    std::vector<std::tuple<double, double, std::string>> texts;  // baseline y, x: sorts in reading order

    QPaintEngine* paintEngine() const override { return const_cast<Recorder*>(this); }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState&) override {}
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override
    {
        for (int i = 1; i < count; ++i) lines.emplace_back(points[i - 1], points[i]);
    }
    void drawPath(const QPainterPath& path) override { paths.push_back(path); }
    void drawTextItem(const QPointF& at, const QTextItem& item) override
    {
        texts.emplace_back(at.y(), at.x(), item.text().toStdString());
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    int metric(PaintDeviceMetric m) const override
    {
        if (m == PdmDevicePixelRatioScaled) return devicePixelRatioFScale();
        return m == PdmWidth ? 12000 : m == PdmHeight ? 18000 : 72;
    }
};

// The start-up design with the L-network option and the network resistance given.
inline DesignRecord DesignWith(bool lnetState, float rnetwork = 50)
{
    return CalculatedDesign(kDefaultNetworkQ, lnetState, rnetwork);
}

}  // namespace voltra
