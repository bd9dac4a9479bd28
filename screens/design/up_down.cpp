// Arrow pair of the design screen's entry row.
#include "screens/design/up_down.h"

#include <QToolButton>

namespace voltra {

namespace {

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
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
