// A paint device that records what a painter draws, in page units, so tests can
// check the printed sheet's geometry and texts exactly.
#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>
#include <memory>
#include <vector>

struct RecordedText {
    QPointF baseline;
    QString text;
    QFont font;
};

struct Recording {
    std::vector<QLineF> lines;  // polylines arrive split into their segments
    std::vector<QRectF> circles;
    std::vector<QPainterPath> arcs;
    std::vector<RecordedText> texts;
    std::vector<QColor> colours;  // pen colour of every primitive
};

// A 12000 x 18000 page at 72 dpi: one page unit is one device pixel and one point, so
// the sheet maps its page units one to one.
class RecordingDevice : public QPaintDevice {
public:
    Recording recording;
    QPaintEngine* paintEngine() const override { return engine_.get(); }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return 12000;
        case PdmHeight: return 18000;
        case PdmWidthMM: return 4233;
        case PdmHeightMM: return 6350;
        case PdmNumColors: return 1 << 24;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 72;
        }
    }

private:
    // Claims every feature, so QPainter hands over primitives untransformed.
    class Engine : public QPaintEngine {
    public:
        explicit Engine(Recording& recording) : QPaintEngine(AllFeatures), r_(recording) {}
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
            for (int i = 0; i < count; ++i) Add(r_.lines, lines[i]);
        }
        void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override
        {
            for (int i = 1; i < count; ++i) Add(r_.lines, QLineF(points[i - 1], points[i]));
        }
        void drawEllipse(const QRectF& box) override { Add(r_.circles, box); }
        void drawPath(const QPainterPath& path) override { Add(r_.arcs, path); }
        void drawTextItem(const QPointF& at, const QTextItem& item) override
        {
            Add(r_.texts, RecordedText{at, item.text(), font_});
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

    private:
        template <class T> void Add(std::vector<T>& list, const T& item)
        {
            list.push_back(item);
            r_.colours.push_back(pen_.color());
        }
        Recording& r_;
        QPen pen_;
        QFont font_;
    };
    std::unique_ptr<Engine> engine_ = std::make_unique<Engine>(recording);
};
