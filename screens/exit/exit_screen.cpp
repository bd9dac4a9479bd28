// Size, buttons and outcomes of the exit screen.
#include "screens/exit/exit_screen.h"

#include <QLabel>
#include <QPushButton>

#include "screens/welcome/program_icon.h"
#include "screens/welcome/shell_controls.h"
#include "screens/screen_style.h"
#include "screens/object_names.h"
#include "screens/window_scale.h"

namespace voltra {

namespace {

// The window opens at half the display's width and 0.4 of its height; the buttons
// share one column in its middle, "Cancel / Continue" above "Exit / Quit". Resized,
// every place keeps its share of the window and the font grows with the lesser stretch.
constexpr double kWidthPerDisplay = 0.5;
constexpr double kHeightPerDisplay = 0.4;
constexpr double kButtonLeft = 0.3;
constexpr double kButtonWidth = 0.4;
constexpr double kButtonHeight = 0.09;
constexpr double kCancelTop = 0.4;
constexpr double kExitTop = 0.55;
constexpr double kPointsPerTwip = 0.0008;
// The question spans the window above the buttons, so it reads before either is pressed.
constexpr double kQuestionMargin = 0.05;
constexpr double kQuestionTop = 0.1;
constexpr double kQuestionHeight = 0.25;
constexpr const char* kQuestion = "Quit Voltra? The design is kept for the next start.";

}  // namespace

ExitScreen::ExitScreen(std::function<void()> quit, QSizeF displayTwips, QWidget* parent)
    : QDialog(parent), quit_(std::move(quit))
{
    setObjectName(QLatin1String(kExitScreenName));
    setModal(true);
    setWindowIcon(ProgramIcon());
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    opened_ = QSizeF(QSizeF(TwipsToPixels(kWidthPerDisplay * displayTwips.width()),
                            TwipsToPixels(kHeightPerDisplay * displayTwips.height()))
                         .toSize());
    openedPoints_ = kPointsPerTwip * displayTwips.height();

    QFont font(kSansFamily);
    font.setBold(true);
    font.setPointSizeF(openedPoints_);
    question_ = new QLabel(QString::fromLatin1(kQuestion), this);
    question_->setObjectName(QLatin1String(kExitQuestionLabelName));
    question_->setFont(font);
    question_->setAlignment(Qt::AlignCenter);
    question_->setWordWrap(true);
    cancelButton_ = MakeFaceButton(this, kCancelButtonName, QStringLiteral("Cancel / Continue"), font);
    exitButton_ = MakeFaceButton(this, kExitButtonName, QStringLiteral("Exit / Quit"), font);
    resize(opened_.toSize());
    LayOut();
    setTabOrder(cancelButton_, exitButton_);
    cancelButton_->setFocus();

    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(exitButton_, &QPushButton::clicked, this, &ExitScreen::ConfirmQuit);
}

void ExitScreen::resizeEvent(QResizeEvent*)
{
    LayOut();
}

void ExitScreen::LayOut()
{
    const QSizeF window = size();
    QFont font = question_->font();
    font.setPointSizeF(openedPoints_ * WindowScale(window, opened_));
    for (QWidget* control : {static_cast<QWidget*>(question_), static_cast<QWidget*>(cancelButton_),
                             static_cast<QWidget*>(exitButton_)})
        control->setFont(font);
    question_->setGeometry(QRectF(kQuestionMargin * window.width(), kQuestionTop * window.height(),
                                  (1 - 2 * kQuestionMargin) * window.width(), kQuestionHeight * window.height())
                               .toRect());
    const auto button = [&](double top) {
        return QRectF(kButtonLeft * window.width(), top * window.height(), kButtonWidth * window.width(),
                      kButtonHeight * window.height())
            .toRect();
    };
    cancelButton_->setGeometry(button(kCancelTop));
    exitButton_->setGeometry(button(kExitTop));
}

void ExitScreen::ConfirmQuit()
{
    if (quit_) quit_();
    accept();
}

}  // namespace voltra
