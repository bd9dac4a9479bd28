// Arrow pair of the design screen's entry row.
#include "screens/design/up_down.h"

#include <algorithm>

#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>

namespace voltra {

namespace {

// The style draws its arrow at one fixed size, lost on a large window; this button
// draws the face as the style does and the arrow itself, filling its share of the face.
class ScaledArrowButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.arrowType = Qt::NoArrow;
        option.features &= ~QStyleOptionToolButton::Arrow;
        painter.drawComplexControl(QStyle::CC_ToolButton, option);

        // An arrow nearly half as high as the face and twice as wide as high reads at a glance
        // at any size; its tip points the way the value moves.
        const QRectF face = rect();
        const double height = std::max(3.0, kArrowShare * std::min(face.height(), face.width() / 2));
        const QPointF centre = face.center();
        const double tip = arrowType() == Qt::UpArrow ? -height / 2 : height / 2;
        const QPointF triangle[] = {centre + QPointF(0, tip), centre + QPointF(-height, -tip),
                                    centre + QPointF(height, -tip)};
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawPolygon(triangle, 3);
    }

private:
    static constexpr double kArrowShare = 0.45;
};

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new ScaledArrowButton(parent);
    button->setArrowType(arrow);
    // One press, one step: a held arrow does not repeat, and the arrows take no
    // keyboard focus because the Up and Down keys already step the box itself.
    button->setAutoRepeat(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), up_(ArrowButton(this, Qt::UpArrow)), down_(ArrowButton(this, Qt::DownArrow))
{
    setFocusPolicy(Qt::NoFocus);
    connect(up_, &QToolButton::clicked, this, [this] { emit Stepped(1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit Stepped(-1); });
}

void UpDown::resizeEvent(QResizeEvent*)
{
    const int upperHalf = height() / 2;
    up_->setGeometry(0, 0, width(), upperHalf);
    down_->setGeometry(0, upperHalf, width(), height() - upperHalf);
}

}  // namespace voltra
