// Builds the option controls and keeps the settings in step with them.
#include "screens/design/option_controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <array>

#include "screens/object_names.h"
#include "units/number_text.h"
#include "units/parse.h"

namespace voltra {
namespace {

constexpr const char* kExactKey = "design/exact";
constexpr const char* kCossKey = "design/coss";
constexpr const char* kSeriesKey = "design/series";

struct SeriesChoice {
    const char* caption;
    std::optional<ESeries> series;
};
constexpr std::array<SeriesChoice, 4> kSeriesChoices = {{
    {"Any", std::nullopt}, {"E12", ESeries::E12}, {"E24", ESeries::E24}, {"E96", ESeries::E96}}};

QLabel* Caption(QWidget& screen, const char* name, const char* text)
{
    auto* label = new QLabel(QString::fromLatin1(text), &screen);
    label->setObjectName(QLatin1String(name));
    return label;
}

float CossOf(const QString& text)
{
    const float coss = ParseValue(text.toStdString());
    return coss > 0 ? std::min(coss, kLargestCoss) : 0.0f;
}

}  // namespace

OptionControls::OptionControls(QWidget& screen)
    : QObject(&screen), settings_(QStringLiteral("voltra"), QStringLiteral("voltra")),
      exact_(new QPushButton(QStringLiteral("Exact"), &screen)), coss_(new QLineEdit(&screen)),
      series_(new QComboBox(&screen))
{
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

    exact_->setChecked(settings_.value(QLatin1String(kExactKey), false).toBool());
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
    connect(coss_, &QLineEdit::textChanged, this, changed);
    connect(series_, &QComboBox::currentIndexChanged, this, changed);
}

void OptionControls::Take()
{
    options_.exact = exact_->isChecked();
    options_.coss = CossOf(coss_->text());
    options_.series = kSeriesChoices[static_cast<std::size_t>(std::max(0, series_->currentIndex()))].series;
}

void OptionControls::Store()
{
    settings_.setValue(QLatin1String(kExactKey), options_.exact);
    settings_.setValue(QLatin1String(kCossKey), coss_->text());
    settings_.setValue(QLatin1String(kSeriesKey), series_->currentIndex());
}

}  // namespace voltra
