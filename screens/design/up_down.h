// A pair of small arrows beside an entry box: each press of an arrow reports exactly
// one step up or down.
#pragma once

#include <QWidget>

class QToolButton;

namespace voltra {

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent);

signals:
    // +1 for the upper arrow, -1 for the lower.
    void Stepped(int direction);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace voltra
