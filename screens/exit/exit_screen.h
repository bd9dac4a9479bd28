// The exit screen: asks whether to leave the program. Leaving stores the design in
// force as the last session and ends the run; going on changes nothing.
#pragma once

#include <QDialog>
#include <functional>

#include "screens/welcome/display_twips.h"

class QLabel;
class QPushButton;

namespace voltra {

class ExitScreen : public QDialog {
    Q_OBJECT

public:
    // `quit` writes the last-session file, reporting a failure itself, and ends the
    // program; it runs before the screen closes with Accepted. Cancelling, Escape or
    // closing the window return Rejected and run nothing.
    explicit ExitScreen(std::function<void()> quit, QSizeF displayTwips = DisplayTwips(), QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ConfirmQuit();
    void LayOut();

    std::function<void()> quit_;
    QSizeF opened_;       // pixels, half the display across and two fifths down
    double openedPoints_; // the font at that size
    QLabel* question_;
    QPushButton* cancelButton_;
    QPushButton* exitButton_;
};

}  // namespace voltra
