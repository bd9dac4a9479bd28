// Load, layout, painting and the two buttons of the welcome screen.
#include "screens/welcome/welcome_screen.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <array>

#include "engine/message_sink.h"
#include "screens/welcome/program_icon.h"
#include "screens/welcome/shell_controls.h"
#include "screens/welcome/welcome_schematic.h"
#include "screens/screen_style.h"
#include "screens/window_scale.h"
#include "engine/program_texts.h"
#include "screens/object_names.h"

namespace voltra {

namespace {

const QColor kBackgroundBlue(0, 0, 255);
const QColor kTitleColour(192, 255, 255);

constexpr double kTitlePoints = 90.0;

// Font sizes follow the display height in twips in a maximized window, and the
// window itself at any other size.
constexpr double kLabelPointsPerTwip = 0.0012;
constexpr double kButtonPointsPerTwip = 0.001;

// The title keeps its own size in twips; its top sits a tenth of the display
// height, taken as drawing units, below the top.
constexpr double kTitleLeft = 1000.0;
constexpr double kTitleTopPerTwip = 0.1;
constexpr double kTitleWidthTwips = 6105.0;
constexpr double kTitleHeightTwips = 1905.0;

// Placements in drawing units: left, top, width, height.
constexpr std::array<double, 4> kVersionRect = {1000, 6400, 5670, 390};
constexpr std::array<double, 4> kCopyrightRect = {1000, 6800, 5670, 390};
constexpr std::array<double, 4> kWebsiteRect = {1000, 7200, 5670, 390};
constexpr std::array<double, 4> kStartRect = {8500, 6200, 1200, 360};
constexpr std::array<double, 4> kExitRect = {8500, 6900, 1200, 360};

void SetPoints(QWidget* control, double points)
{
    QFont font = control->font();
    font.setPointSizeF(points);
    control->setFont(font);
}

QRect Place(const QTransform& view, const std::array<double, 4>& rect)
{
    return view.mapRect(QRectF(rect[0], rect[1], rect[2], rect[3])).toRect();
}

}  // namespace

WelcomeScreen::WelcomeScreen(DesignRecord& design, Actions actions, QSizeF displayTwips, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      design_(design), actions_(std::move(actions)), units_(FixDrawingUnits(displayTwips)),
      titleTop_(kTitleTopPerTwip * displayTwips.height()), displayTwips_(displayTwips)
{
    setObjectName(QLatin1String(kWelcomeScreenName));
    setWindowIcon(ProgramIcon());
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, kBackgroundBlue);
    setPalette(background);

    if (actions_.startup) actions_.startup();

    setWindowTitle(QStringLiteral("Voltra Version %1 - Welcome !").arg(QString::fromLatin1(kVersionText)));

    QFont labelFont(kSansFamily);
    labelFont.setBold(true);
    QFont buttonFont(labelFont);
    QFont titleFont(kSerifFamily);
    titleFont.setBold(true);

    titleLabel_ = MakeLabel(this, kTitleLabelName, QString::fromLatin1(kProgramTitle), titleFont, kTitleColour);
    versionLabel_ = MakeLabel(this, kVersionLabelName, QStringLiteral("Version ") + QString::fromLatin1(kVersionText),
                           labelFont, Qt::white);
    noticeLabel_ = MakeLabel(this, kNoticeLabelName, QString::fromLatin1(kMakersNotice), labelFont, Qt::white);
    webLabel_ = MakeLabel(this, kWebLabelName, QString::fromLatin1(kWebAddress), labelFont, Qt::white);

    startButton_ = MakeFaceButton(this, kStartButtonName, QStringLiteral("Start"), buttonFont);
    exitButton_ = MakeFaceButton(this, kExitButtonName, QStringLiteral("Exit"), buttonFont);
    setTabOrder(startButton_, exitButton_);
    setFocusProxy(startButton_);
    startButton_->setFocus();
    connect(startButton_, &QPushButton::clicked, this, &WelcomeScreen::StartDesign);
    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);

    setWindowState(Qt::WindowMaximized);
    PlaceControls();
}

void WelcomeScreen::PlaceControls()
{
    // Maximized, the window is about the display's size and the fonts are the
    // display's; dragged smaller or larger, they follow the window with the drawing.
    const double scale = WindowScale(size(), QSizeF(TwipsToPixels(displayTwips_.width()),
                                                    TwipsToPixels(displayTwips_.height())));
    const double displayHeight = displayTwips_.height();
    for (QWidget* label : {versionLabel_, noticeLabel_, webLabel_})
        SetPoints(label, kLabelPointsPerTwip * displayHeight * scale);
    for (QWidget* button : {startButton_, exitButton_}) SetPoints(button, kButtonPointsPerTwip * displayHeight * scale);
    SetPoints(titleLabel_, kTitlePoints * scale);
    // The title's box is drawn a little lower than the serif face's line; it grows to
    // the line rather than cut it.
    titleLabel_->resize(QSize(qRound(TwipsToPixels(kTitleWidthTwips) * scale), qRound(TwipsToPixels(kTitleHeightTwips) * scale))
                            .expandedTo(titleLabel_->sizeHint()));

    const QTransform view = WelcomeViewTransform(size());
    const QPointF titleTopLeft = view.map(QPointF(kTitleLeft, titleTop_));
    titleLabel_->move(titleTopLeft.toPoint());
    versionLabel_->setGeometry(Place(view, kVersionRect));
    noticeLabel_->setGeometry(Place(view, kCopyrightRect));
    webLabel_->setGeometry(Place(view, kWebsiteRect));
    startButton_->setGeometry(Place(view, kStartRect));
    exitButton_->setGeometry(Place(view, kExitRect));
}

void WelcomeScreen::paintEvent(QPaintEvent*)
{
    if (stage_ != Stage::Waiting) return;
    QPainter painter(this);
    painter.setTransform(WelcomeViewTransform(size()));
    PaintGradient(painter);
    PaintWelcomeStage(painter, units_.ChokeArcRadius);
}

void WelcomeScreen::resizeEvent(QResizeEvent*)
{
    PlaceControls();
}

void WelcomeScreen::StartDesign()
{
    // The window turns blank white while the design screen is being built.
    startButton_->hide();
    exitButton_->hide();
    QPalette title = titleLabel_->palette();
    title.setColor(QPalette::WindowText, Qt::white);
    titleLabel_->setPalette(title);
    QPalette blank = palette();
    blank.setColor(QPalette::Window, Qt::white);
    setPalette(blank);
    stage_ = Stage::HandedOver;
    repaint();

    if (actions_.start) actions_.start();
    close();
}

void WelcomeScreen::closeEvent(QCloseEvent* event)
{
    event->accept();
    // Closing the window before "Start" leaves the program, as "Exit" does.
    if (stage_ != Stage::Waiting) return;
    stage_ = Stage::Left;
    if (actions_.exit) actions_.exit();
}

}  // namespace voltra
