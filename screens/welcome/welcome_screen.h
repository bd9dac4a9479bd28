// The welcome screen: the first window of a run. Its load brings the design
// record to its start-up state, then it shows the gradient, the decorative stage,
// the program's name, version and notices, and leads on to the design screen or out.
#pragma once

#include <QWidget>
#include <functional>

#include "engine/design_record.h"
#include "screens/welcome/display_twips.h"
#include "screens/welcome/welcome_drawing.h"

class QLabel;
class QPushButton;

namespace voltra {

class WelcomeScreen : public QWidget {
    Q_OBJECT

public:
    // What the program does around the welcome screen.
    struct Actions {
        // Start-up values and the last session, run once during the load, before the
        // screen is visible; any message boxes it raises come up then.
        std::function<void()> startup;
        // Opens the design screen; the welcome screen is blank and closes afterwards.
        std::function<void()> start;
        // Ends the program without writing the last-session file.
        std::function<void()> exit;
    };

    WelcomeScreen(DesignRecord& design, Actions actions, QSizeF displayTwips = DisplayTwips(),
               QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Stage { Waiting, HandedOver, Left };

    void StartDesign();
    void PlaceControls();

    DesignRecord& design_;
    Actions actions_;
    WelcomeDrawingUnits units_;
    Stage stage_ = Stage::Waiting;
    double titleTop_;  // drawing units, from the display height
    QSizeF displayTwips_;  // the display the fonts were chosen for, maximized

    QLabel* titleLabel_;
    QLabel* versionLabel_;
    QLabel* noticeLabel_;
    QLabel* webLabel_;
    QPushButton* startButton_;
    QPushButton* exitButton_;
};

}  // namespace voltra
