// Layout and texts of the about screen, placed in twips on a white client area.
#include "screens/about/about_screen.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <array>

#include "engine/message_sink.h"
#include "screens/welcome/display_twips.h"
#include "screens/welcome/program_icon.h"
#include "screens/welcome/shell_controls.h"
#include "screens/screen_style.h"
#include "engine/program_texts.h"
#include "screens/object_names.h"
#include "screens/window_scale.h"

namespace voltra {

namespace {

const QString kDescription = QStringLiteral(
    "An uncommonly easy-to-use and productive program for designing and analyzing Class E amplifiers.");

const QString kLegalNotice = QStringLiteral(
    "Voltra is free software under the MIT licence: you may use, copy, change and share it. "
    "It comes without warranty of any kind. Check every design by simulation and measurement "
    "before you build it.");

const QColor kDarkBlue(0, 0, 192);
const QColor kDarkRed(128, 0, 0);

constexpr double kHeadingPoints = 27.75;
constexpr double kDescriptionPoints = 12.0;
constexpr double kNoticePoints = 9.75;

constexpr double kClientWidthTwips = 7170;
constexpr double kClientHeightTwips = 4830;

// Left, top, width, height in twips.
using TwipsRect = std::array<double, 4>;
constexpr TwipsRect kTitleRect = {1470, 210, 1695, 540};
constexpr TwipsRect kVersionRect = {3360, 210, 2955, 540};
constexpr TwipsRect kDescriptionRect = {315, 840, 6300, 645};
constexpr TwipsRect kImage2Rect = {630, 270, 480, 480};
constexpr TwipsRect kImage1Rect = {840, 1470, 2250, 2250};
constexpr TwipsRect kCopyright2Rect = {3360, 1575, 3060, 2220};
constexpr TwipsRect kCopyrightRect = {525, 3885, 3480, 330};
constexpr TwipsRect kWebsiteRect = {525, 4200, 3480, 330};
constexpr TwipsRect kCloseRect = {4620, 3885, 1800, 435};

QRect Pixels(const TwipsRect& twips, double scale)
{
    return QRect(qRound(TwipsToPixels(twips[0]) * scale), qRound(TwipsToPixels(twips[1]) * scale),
                 qRound(TwipsToPixels(twips[2]) * scale), qRound(TwipsToPixels(twips[3]) * scale));
}

QSizeF DesignedSize() { return QSizeF(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips)); }

QFont Font(const QString& family, double points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QLabel* MakeWrappedLabel(QWidget* parent, const char* name, const QString& text, const QFont& font,
                         const QColor& colour)
{
    QLabel* label = MakeLabel(parent, name, text, font, colour);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// A label keeps its place; a text that would not fit its box at this resolution
// widens or deepens it rather than being cut.
void PlaceLabel(QLabel* label, const TwipsRect& place, double scale, double points)
{
    QFont font = label->font();
    font.setPointSizeF(points * scale);
    label->setFont(font);
    QRect box = Pixels(place, scale);
    if (label->wordWrap())
        box.setHeight(std::max(box.height(), label->heightForWidth(box.width())));
    else
        box.setSize(box.size().expandedTo(label->sizeHint()));
    label->setGeometry(box);
}

QLabel* MakePicture(QWidget* parent, const char* name, const QPixmap& picture)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setPixmap(picture);
    image->setScaledContents(true);
    return image;
}

}  // namespace

AboutScreen::AboutScreen(QWidget* parent) : QDialog(parent)
{
    setObjectName(QLatin1String(kAboutScreenName));
    setModal(true);
    setWindowIcon(ProgramIcon());
    setWindowTitle(QStringLiteral("About ") + QString::fromLatin1(kProgramTitle));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    // Never smaller than drawn, so no text is cut; larger, everything grows with it.
    setMinimumSize(DesignedSize().toSize());
    resize(minimumSize());

    const QFont heading = Font(kSerifFamily, kHeadingPoints, false);
    const QFont notice = Font(kSansFamily, kNoticePoints, false);
    const QString version = QStringLiteral("Version ") + QString::fromLatin1(kVersionText);

    Image2 = MakePicture(this, "Image2", QPixmap(QStringLiteral(":/voltra/voltra-32.png")));
    Image1 = MakePicture(this, "Image1", QPixmap(QStringLiteral(":/voltra/class-e-150.png")));
    titleLabel_ = MakeLabel(this, kTitleLabelName, QString::fromLatin1(kProgramTitle), heading, kDarkBlue);
    versionLabel_ = MakeLabel(this, kVersionLabelName, version, heading, kDarkBlue);
    descriptionLabel_ = MakeWrappedLabel(this, kDescriptionLabelName, kDescription,
                                         Font(kSansFamily, kDescriptionPoints, true), kDarkBlue);
    legalLabel_ = MakeWrappedLabel(this, kLegalLabelName, kLegalNotice, notice, kDarkRed);
    noticeLabel_ = MakeLabel(this, kNoticeLabelName, QString::fromLatin1(kMakersNotice), notice, kDarkBlue);
    webLabel_ = MakeLabel(this, kWebLabelName, QString::fromLatin1(kWebAddress), notice, kDarkBlue);

    exitButton_ = new QPushButton(QStringLiteral("Close"), this);
    exitButton_->setObjectName(QLatin1String(kExitButtonName));
    exitButton_->setFont(Font(kSansFamily, kNoticePoints, true));
    QPalette face = exitButton_->palette();
    face.setColor(QPalette::Button, QColor(kButtonFace));
    face.setColor(QPalette::ButtonText, Qt::black);
    exitButton_->setPalette(face);
    exitButton_->setDefault(true);
    exitButton_->setFocus();
    connect(exitButton_, &QPushButton::clicked, this, &QDialog::accept);
    LayOut();
}

void AboutScreen::resizeEvent(QResizeEvent*)
{
    LayOut();
}

void AboutScreen::LayOut()
{
    const double scale = WindowScale(size(), DesignedSize());
    Image2->setGeometry(Pixels(kImage2Rect, scale));
    Image1->setGeometry(Pixels(kImage1Rect, scale));
    PlaceLabel(titleLabel_, kTitleRect, scale, kHeadingPoints);
    PlaceLabel(versionLabel_, kVersionRect, scale, kHeadingPoints);
    PlaceLabel(descriptionLabel_, kDescriptionRect, scale, kDescriptionPoints);
    PlaceLabel(legalLabel_, kCopyright2Rect, scale, kNoticePoints);
    PlaceLabel(noticeLabel_, kCopyrightRect, scale, kNoticePoints);
    PlaceLabel(webLabel_, kWebsiteRect, scale, kNoticePoints);
    QFont font = exitButton_->font();
    font.setPointSizeF(kNoticePoints * scale);
    exitButton_->setFont(font);
    exitButton_->setGeometry(Pixels(kCloseRect, scale));
}

}  // namespace voltra
