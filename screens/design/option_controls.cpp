// Builds the option controls and keeps the settings in step with them.
#include "screens/design/option_controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <algorithm>
#include <array>
#include <cmath>

#include "screens/design/control_captions.h"
#include "screens/object_names.h"
#include "screens/screen_style.h"
#include "units/format.h"
#include "units/number_text.h"
#include "units/parse.h"

namespace voltra {
namespace {

constexpr const char* kExactKey = "design/exact";
constexpr const char* kCossKey = "design/coss";
constexpr const char* kSeriesKey = "design/series";
constexpr const char* kDutyKey = "design/duty";
constexpr const char* kInductorQKey = "design/inductorQ";
constexpr const char* kCapacitorQKey = "design/capacitorQ";
constexpr const char* kWindingQKey = "design/windingQ";

constexpr const char* kDutyClampedTip = "In effect: a duty of %1 (the switch's on-time is limited to %2 to %3 of the "
                                        "period).";
constexpr const char* kDutyTip =
    "The switch's on-time as a fraction of the period, 0.25 to 0.75, for the exact design";
constexpr const char* kInductorQTip =
    "Every inductor's quality factor at the switching frequency; empty for lossless";
constexpr const char* kCapacitorQTip =
    "Every capacitor's quality factor at the switching frequency; empty for lossless";
constexpr const char* kLosslessTip = "Not a quality factor above zero: the parts are taken as lossless.";

struct SeriesChoice {
    const char* caption;
    std::optional<ESeries> series;
};
constexpr std::array<SeriesChoice, 4> kSeriesChoices = {{
    {"Any", std::nullopt}, {"E12", ESeries::E12}, {"E24", ESeries::E24}, {"E96", ESeries::E96}}};

float CossOf(const QString& text)
{
    const float coss = ParseValue(text.toStdString());
    return coss > 0 ? std::min(coss, kLargestCoss) : 0.0f;
}

// The on-time as a fraction of the period; an empty box is the fits' half period.
struct DutyEntry {
    double inEffect;
    bool asTyped;
};

DutyEntry DutyOf(const QString& text)
{
    if (text.trimmed().isEmpty()) return {kDefaultDuty, true};
    const double typed = ParseValue(text.toStdString());
    if (!std::isfinite(typed)) return {kDefaultDuty, false};
    const double inEffect = std::clamp(typed, kMinDuty, kMaxDuty);
    return {inEffect, inEffect == typed};
}

// A part quality factor; an empty box is a lossless part, and so is any text that is
// not a number above zero, which the box then shows in red.
struct QualityEntry {
    double inEffect;
    bool asTyped;
};

QualityEntry QualityOf(const QString& text)
{
    if (text.trimmed().isEmpty()) return {INFINITY, true};
    const double typed = ParseValue(text.toStdString());
    if (std::isfinite(typed) && typed > 0) return {typed, true};
    return {INFINITY, false};
}

QLineEdit* OptionBox(QWidget& screen, const char* name, const char* placeholder)
{
    auto* box = new QLineEdit(&screen);
    box->setObjectName(QLatin1String(name));
    box->setAlignment(Qt::AlignCenter);
    box->setPlaceholderText(QString::fromLatin1(placeholder));
    return box;
}

}  // namespace

OptionControls::OptionControls(QWidget& screen)
    : QObject(&screen), settings_(QStringLiteral("voltra"), QStringLiteral("voltra")),
      exact_(new QPushButton(QStringLiteral("Exact"), &screen)), coss_(new QLineEdit(&screen)),
      series_(new QComboBox(&screen)),
      duty_(OptionBox(screen, kDutyBoxName, "0.5")), inductorQ_(OptionBox(screen, kInductorQBoxName, "lossless")),
      capacitorQ_(OptionBox(screen, kCapacitorQBoxName, "lossless")),
      windingQ_(new QPushButton(QStringLiteral("Winding Q"), &screen))
{
    windingQ_->setObjectName(QLatin1String(kWindingQButtonName));
    windingQ_->setCheckable(true);
    windingQ_->setAutoDefault(false);
    windingQ_->setToolTip(tr("Take each inductor's loss from the estimated Q of its winding (the parts window's "
                             "windings) instead of the Q (L) box"));
    windingQ_->setChecked(settings_.value(QLatin1String(kWindingQKey), false).toBool());
    exact_->setObjectName(QLatin1String(kExactButtonName));
    exact_->setCheckable(true);
    exact_->setAutoDefault(false);
    exact_->setToolTip(tr("Solve the circuit for true Class E instead of using the closed-form fits"));
    Caption(screen, kCossLabelName, "Coss (F):");
    coss_->setObjectName(QLatin1String(kCossBoxName));
    coss_->setAlignment(Qt::AlignCenter);
    coss_->setPlaceholderText(QStringLiteral("0"));
    coss_->setToolTip(tr("The switch's output capacitance from its data sheet; it is part of C1"));
    Caption(screen, kSeriesLabelName, "Parts:");
    series_->setObjectName(QLatin1String(kSeriesBoxName));
    for (const SeriesChoice& choice : kSeriesChoices) series_->addItem(QString::fromLatin1(choice.caption));

    Caption(screen, kDutyLabelName, "Duty:");
    Caption(screen, kInductorQLabelName, "Q (L):");
    Caption(screen, kCapacitorQLabelName, "Q (C):");

    exact_->setChecked(settings_.value(QLatin1String(kExactKey), false).toBool());
    duty_->setText(settings_.value(QLatin1String(kDutyKey)).toString());
    inductorQ_->setText(settings_.value(QLatin1String(kInductorQKey)).toString());
    capacitorQ_->setText(settings_.value(QLatin1String(kCapacitorQKey)).toString());
    const float coss = CossOf(settings_.value(QLatin1String(kCossKey)).toString());
    if (coss > 0) coss_->setText(QString::fromStdString(SignificantText(coss)));
    series_->setCurrentIndex(std::clamp(settings_.value(QLatin1String(kSeriesKey), 0).toInt(), 0,
                                        static_cast<int>(kSeriesChoices.size()) - 1));
    Take();

    const auto changed = [this] {
        Take();
        Store();
        emit Changed();
    };
    connect(exact_, &QPushButton::toggled, this, changed);
    connect(windingQ_, &QPushButton::toggled, this, changed);
    connect(coss_, &QLineEdit::textChanged, this, changed);
    connect(series_, &QComboBox::currentIndexChanged, this, changed);
    for (QLineEdit* box : {duty_, inductorQ_, capacitorQ_}) connect(box, &QLineEdit::textChanged, this, changed);
}

void OptionControls::Take()
{
    options_.exact = exact_->isChecked();
    options_.coss = CossOf(typedCoss_.value_or(coss_->text()));
    options_.series = kSeriesChoices[static_cast<std::size_t>(std::max(0, series_->currentIndex()))].series;
    options_.duty = DutyOf(duty_->text()).inEffect;
    options_.inductorQ = QualityOf(inductorQ_->text()).inEffect;
    options_.capacitorQ = QualityOf(capacitorQ_->text()).inEffect;
    windingQInBudget_ = windingQ_->isChecked();
    MarkInEffect();
}

void OptionControls::MarkInEffect()
{
    const auto mark = [](QLineEdit* box, bool asTyped, const QString& tip, const QString& plainTip) {
        ShowInEffect(*box, asTyped);
        box->setToolTip(asTyped ? plainTip : tip);
    };
    const DutyEntry duty = DutyOf(duty_->text());
    mark(duty_, duty.asTyped,
         QString::fromLatin1(kDutyClampedTip)
             .arg(QString::fromStdString(SignificantText(static_cast<float>(duty.inEffect))),
                  QString::fromStdString(SignificantText(static_cast<float>(kMinDuty))),
                  QString::fromStdString(SignificantText(static_cast<float>(kMaxDuty)))),
         tr(kDutyTip));
    mark(inductorQ_, QualityOf(inductorQ_->text()).asTyped, QString::fromLatin1(kLosslessTip),
         tr(kInductorQTip));
    mark(capacitorQ_, QualityOf(capacitorQ_->text()).asTyped, QString::fromLatin1(kLosslessTip),
         tr(kCapacitorQTip));
}

void OptionControls::HoldCoss(std::optional<float> deviceCoss)
{
    const QSignalBlocker quiet(coss_);
    if (deviceCoss) {
        if (!typedCoss_) typedCoss_ = coss_->text();
        coss_->setText(QString::fromStdString(FormatCapacitance(*deviceCoss)));
    } else if (typedCoss_) {
        coss_->setText(*typedCoss_);
        typedCoss_.reset();
    }
    coss_->setEnabled(!deviceCoss);
}

void OptionControls::Store()
{
    settings_.setValue(QLatin1String(kExactKey), options_.exact);
    settings_.setValue(QLatin1String(kCossKey), typedCoss_.value_or(coss_->text()));
    settings_.setValue(QLatin1String(kSeriesKey), series_->currentIndex());
    settings_.setValue(QLatin1String(kDutyKey), duty_->text());
    settings_.setValue(QLatin1String(kInductorQKey), inductorQ_->text());
    settings_.setValue(QLatin1String(kCapacitorQKey), capacitorQ_->text());
    settings_.setValue(QLatin1String(kWindingQKey), windingQInBudget_);
}

}  // namespace voltra
