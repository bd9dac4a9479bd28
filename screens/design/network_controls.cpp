// Builds the network controls and keeps the settings in step with them. The Q box
// is live only for the kinds with a Q of their own; the L-network's Q follows from its
// two resistances.
#include "screens/design/network_controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <array>
#include <cmath>

#include "engine/harmonic_limit.h"
#include "screens/design/control_captions.h"
#include "screens/object_names.h"
#include "screens/screen_style.h"
#include "units/number_text.h"
#include "units/parse.h"

namespace voltra {
namespace {

constexpr const char* kKindKey = "design/network";
constexpr const char* kMatchingQKey = "design/matchingQ";
constexpr const char* kTrapKey = "design/trap";
constexpr const char* kLimitKey = "design/limitDbc";

// A loaded Q above zero; anything else leaves the default in effect, the box red.
std::optional<double> QOf(const QString& text)
{
    if (text.trimmed().isEmpty()) return kDefaultMatchingQ;
    const double q = ParseValue(text.toStdString());
    if (std::isfinite(q) && q > 0) return q;
    return std::nullopt;
}

// dB below the carrier, typed as 43 or as -43; an empty box is no limit.
struct LimitEntry {
    std::optional<double> limit;
    bool asTyped;
};
LimitEntry LimitOf(const QString& text)
{
    if (text.trimmed().isEmpty()) return {std::nullopt, true};
    const double typed = std::fabs(ParseValue(text.toStdString()));
    if (std::isfinite(typed) && typed >= kLowestLimitDbc && typed <= kHighestLimitDbc) return {typed, true};
    return {std::nullopt, false};
}

QLineEdit* Box(QWidget& screen, const char* name, const QString& placeholder, const QString& tip)
{
    auto* box = new QLineEdit(&screen);
    box->setObjectName(QLatin1String(name));
    box->setAlignment(Qt::AlignCenter);
    box->setPlaceholderText(placeholder);
    box->setToolTip(tip);
    return box;
}

QPushButton* Button(QWidget& screen, const char* name, const QString& text, const QString& tip, bool checkable)
{
    auto* button = new QPushButton(text, &screen);
    button->setObjectName(QLatin1String(name));
    button->setCheckable(checkable);
    button->setAutoDefault(false);
    button->setToolTip(tip);
    return button;
}

}  // namespace

NetworkControls::NetworkControls(QWidget& screen)
    : QObject(&screen), settings_(QStringLiteral("voltra"), QStringLiteral("voltra")),
      kindLabel_(Caption(screen, kNetworkKindLabelName, tr("Network:"))), kindBox_(new QComboBox(&screen)),
      qLabel_(Caption(screen, kMatchingQLabelName, tr("Match Q:"))),
      qBox_(Box(screen, kMatchingQBoxName, QString::fromStdString(SignificantText(kDefaultMatchingQ)),
                tr("The matching network's loaded Q, above the L-network's own for these resistances"))),
      trapButton_(Button(screen, kTrapButtonName, tr("2f trap"),
                         tr("A parallel L-C in series with the load path, resonant at twice the frequency"), true)),
      limitLabel_(Caption(screen, kLimitLabelName, tr("Limit dBc:"))),
      limitBox_(Box(screen, kLimitBoxName, tr("none"),
                    tr("Every harmonic 2 to 10 at the load this far below the carrier, %1 to %2 dB")
                        .arg(kLowestLimitDbc)
                        .arg(kHighestLimitDbc))),
      meetButton_(Button(screen, kMeetLimitButtonName, tr("Meet limit"),
                         tr("Choose the network, its Q and the trap that meet the limit with the least loss"), false))
{
    kindBox_->setObjectName(QLatin1String(kNetworkKindBoxName));
    kindBox_->setToolTip(tr("The network that turns the load resistance into the Class E load"));
    for (const NetworkKindNames& choice : kNetworkKinds) kindBox_->addItem(QString::fromLatin1(choice.caption));
    kindBox_->setCurrentIndex(
        std::clamp(settings_.value(QLatin1String(kKindKey), 0).toInt(), 0, static_cast<int>(kNetworkKinds.size()) - 1));
    qBox_->setText(settings_.value(QLatin1String(kMatchingQKey)).toString());
    trapButton_->setChecked(settings_.value(QLatin1String(kTrapKey), false).toBool());
    limitBox_->setText(settings_.value(QLatin1String(kLimitKey)).toString());
    Take();

    const auto changed = [this] {
        Take();
        Store();
        emit Changed();
    };
    connect(kindBox_, &QComboBox::currentIndexChanged, this, changed);
    connect(qBox_, &QLineEdit::textChanged, this, changed);
    connect(trapButton_, &QPushButton::toggled, this, changed);
    connect(limitBox_, &QLineEdit::textChanged, this, changed);
    connect(meetButton_, &QPushButton::clicked, this, [this] {
        if (limit_) emit MeetLimitRequested(*limit_);
    });
}

void NetworkControls::ApplyTo(DesignOptions& options) const
{
    options.network = kind_;
    options.matchingQ = q_;
    options.trap = trap_;
}

void NetworkControls::SetVisible(bool visible)
{
    for (QWidget* w : std::initializer_list<QWidget*>{kindLabel_, kindBox_, qLabel_, qBox_, trapButton_, limitLabel_,
                                                      limitBox_, meetButton_})
        w->setVisible(visible);
}

void NetworkControls::Choose(const DesignOptions& found)
{
    {
        const QSignalBlocker quietKind(kindBox_), quietQ(qBox_), quietTrap(trapButton_);
        for (std::size_t i = 0; i < kNetworkKinds.size(); ++i)
            if (kNetworkKinds[i].kind == found.network) kindBox_->setCurrentIndex(static_cast<int>(i));
        qBox_->setText(found.network == NetworkKind::L ? QString()
                                                       : QString::fromStdString(SignificantText(found.matchingQ)));
        trapButton_->setChecked(found.trap);
    }
    Take();
    Store();
    emit Changed();
}

void NetworkControls::Take()
{
    kind_ = kNetworkKinds[static_cast<std::size_t>(std::max(0, kindBox_->currentIndex()))].kind;
    const std::optional<double> q = QOf(qBox_->text());
    q_ = q.value_or(kDefaultMatchingQ);
    ShowInEffect(*qBox_, q.has_value());
    qBox_->setEnabled(kind_ != NetworkKind::L);
    trap_ = trapButton_->isChecked();
    const LimitEntry limit = LimitOf(limitBox_->text());
    limit_ = limit.limit;
    ShowInEffect(*limitBox_, limit.asTyped);
    meetButton_->setEnabled(limit_.has_value());
}

void NetworkControls::Store()
{
    settings_.setValue(QLatin1String(kKindKey), kindBox_->currentIndex());
    settings_.setValue(QLatin1String(kMatchingQKey), qBox_->text());
    settings_.setValue(QLatin1String(kTrapKey), trap_);
    settings_.setValue(QLatin1String(kLimitKey), limitBox_->text());
}

}  // namespace voltra
