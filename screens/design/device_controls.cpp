// Builds the transistor's controls and keeps the settings in step with them.
#include "screens/design/device_controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <cctype>

#include "screens/design/control_captions.h"
#include "screens/object_names.h"
#include "screens/screen_style.h"
#include "units/number_text.h"
#include "units/parse.h"

namespace voltra {
namespace {

constexpr const char* kSwitchKey = "design/switch";
constexpr const char* kDeratingKey = "design/derating";
constexpr const char* kThetaCaseSinkKey = "design/thetaCs";
constexpr const char* kThetaSinkAmbientKey = "design/thetaSa";
constexpr const char* kAmbientKey = "design/ambient";

// The first choice: the ideal switch with the Coss typed beside it.
constexpr const char* kNoDevice = "none";

constexpr const char* kSwitchTip = "The switching transistor from a device file; none: an ideal switch with the Coss entered";
constexpr const char* kDeratingTip = "The share of the device's drain voltage rating the peak may reach, in %";
constexpr const char* kThetaCaseSinkTip = "Thermal resistance from the case to the heat sink (pad or grease), K/W";
constexpr const char* kThetaSinkAmbientTip = "Thermal resistance of the heat sink to the air, K/W";
constexpr const char* kAmbientTip = "The temperature of the air around the heat sink, \u00B0C";
constexpr const char* kRefusedTip = "Not %1: %2 is in effect.";

// A box's entry: empty is the default; text that is not a number in the range leaves
// the default in effect and turns the box red.
struct Entry {
    double inEffect;
    bool asTyped;
};

Entry EntryOf(const QString& text, double fallback, double low, double high, bool lowIncluded)
{
    if (text.trimmed().isEmpty()) return {fallback, true};
    // The parser reads text without digits as 0, which is a thermal resistance.
    const std::string typed = text.toStdString();
    if (std::none_of(typed.begin(), typed.end(), [](unsigned char c) { return std::isdigit(c); }))
        return {fallback, false};
    const double value = ParseValue(typed);
    const bool inRange = (lowIncluded ? value >= low : value > low) && value <= high;
    return inRange ? Entry{value, true} : Entry{fallback, false};
}

Entry DeratingOf(const QString& text)
{
    const Entry percent = EntryOf(text, 100 * kDefaultVoltageDerating, 0, 100, false);
    return {percent.inEffect / 100, percent.asTyped};
}

Entry ThetaOf(const QString& text, double fallback) { return EntryOf(text, fallback, 0, kLargestThermalResistance, true); }

Entry AmbientOf(const QString& text)
{
    return EntryOf(text, kDefaultAmbientCelsius, kLowestAmbientCelsius, kHighestAmbientCelsius, true);
}

QString Number(double value) { return QString::fromStdString(SignificantText(static_cast<float>(value))); }

QLineEdit* ConditionBox(QWidget& screen, const char* name, double fallback, const char* tip)
{
    auto* box = new QLineEdit(&screen);
    box->setObjectName(QLatin1String(name));
    box->setAlignment(Qt::AlignCenter);
    box->setPlaceholderText(Number(fallback));
    box->setToolTip(QString::fromUtf8(tip));
    return box;
}

void Mark(QLineEdit& box, const Entry& entry, const QString& range, const QString& inEffect, const char* tip)
{
    ShowInEffect(box, entry.asTyped);
    box.setToolTip(entry.asTyped ? QString::fromUtf8(tip) : QString::fromLatin1(kRefusedTip).arg(range, inEffect));
}

}  // namespace

DeviceControls::DeviceControls(QWidget& screen, DeviceListing listing, std::function<void(const std::string&)> report)
    : QObject(&screen), settings_(QStringLiteral("voltra"), QStringLiteral("voltra")), listing_(std::move(listing)),
      report_(std::move(report)), switch_(new QComboBox(&screen)),
      deratingBox_(ConditionBox(screen, kDeratingBoxName, 100 * kDefaultVoltageDerating, kDeratingTip)),
      thetaCaseSink_(ConditionBox(screen, kThetaCaseSinkBoxName, kDefaultThetaCaseSink, kThetaCaseSinkTip)),
      thetaSinkAmbient_(ConditionBox(screen, kThetaSinkAmbientBoxName, kDefaultThetaSinkAmbient, kThetaSinkAmbientTip)),
      ambient_(ConditionBox(screen, kAmbientBoxName, kDefaultAmbientCelsius, kAmbientTip))
{
    if (!listing_.problems.empty()) {
        std::string text = "The Switch choice leaves out the device files that cannot be read:";
        for (const std::string& problem : listing_.problems) text += "\n" + problem;
        report_(text);
    }
    Caption(screen, kSwitchLabelName, QStringLiteral("Switch:"));
    switch_->setObjectName(QLatin1String(kSwitchBoxName));
    switch_->setToolTip(QString::fromLatin1(kSwitchTip));
    switch_->addItem(QString::fromLatin1(kNoDevice));
    for (const DeviceEntry& entry : listing_.devices) switch_->addItem(QString::fromStdString(entry.name));

    conditions_ = {Caption(screen, kDeratingLabelName, QStringLiteral("Derating (%):")),
                   Caption(screen, kThetaCaseSinkLabelName, QString::fromUtf8("\u03B8cs (K/W):")),
                   Caption(screen, kThetaSinkAmbientLabelName, QString::fromUtf8("\u03B8sa (K/W):")),
                   Caption(screen, kAmbientLabelName, QString::fromUtf8("Ambient (\u00B0C):")),
                   deratingBox_, thetaCaseSink_, thetaSinkAmbient_, ambient_};

    deratingBox_->setText(settings_.value(QLatin1String(kDeratingKey)).toString());
    thetaCaseSink_->setText(settings_.value(QLatin1String(kThetaCaseSinkKey)).toString());
    thetaSinkAmbient_->setText(settings_.value(QLatin1String(kThetaSinkAmbientKey)).toString());
    ambient_->setText(settings_.value(QLatin1String(kAmbientKey)).toString());
    // A device kept from the last screen that the folders no longer hold is gone:
    // the ideal switch stands.
    const int kept = switch_->findText(settings_.value(QLatin1String(kSwitchKey)).toString(), Qt::MatchExactly);
    switch_->setCurrentIndex(std::max(0, kept));
    Choose(switch_->currentIndex());
    Take();

    connect(switch_, &QComboBox::currentIndexChanged, this, [this](int index) {
        Choose(index);
        Take();
        Store();
        emit Changed();
    });
    for (QLineEdit* box : {deratingBox_, thetaCaseSink_, thetaSinkAmbient_, ambient_})
        connect(box, &QLineEdit::textChanged, this, [this] {
            Take();
            Store();
            emit Changed();
        });
}

void DeviceControls::Choose(int index)
{
    device_.reset();
    if (index > 0 && static_cast<std::size_t>(index) <= listing_.devices.size()) {
        DeviceRead read = ReadDeviceFile(listing_.devices[static_cast<std::size_t>(index - 1)].file);
        if (read.device) {
            device_ = std::move(read.device);
        } else {
            // Changed or gone since the screen listed it.
            report_(read.error + "\nThe switch is the ideal one with the Coss entered.");
            const QSignalBlocker quiet(switch_);
            switch_->setCurrentIndex(0);
        }
    }
    for (QWidget* condition : conditions_) condition->setEnabled(device_.has_value());
}

void DeviceControls::Take()
{
    const Entry derating = DeratingOf(deratingBox_->text());
    const Entry caseSink = ThetaOf(thetaCaseSink_->text(), kDefaultThetaCaseSink);
    const Entry sinkAmbient = ThetaOf(thetaSinkAmbient_->text(), kDefaultThetaSinkAmbient);
    const Entry ambient = AmbientOf(ambient_->text());
    derating_ = derating.inEffect;
    sink_ = {caseSink.inEffect, sinkAmbient.inEffect, ambient.inEffect};

    const QString thermalRange = QStringLiteral("a thermal resistance from 0 to %1 K/W").arg(Number(kLargestThermalResistance));
    Mark(*deratingBox_, derating, QStringLiteral("a share above 0 and up to 100 %"),
         Number(100 * derating.inEffect) + QStringLiteral(" %"), kDeratingTip);
    Mark(*thetaCaseSink_, caseSink, thermalRange, Number(caseSink.inEffect) + QStringLiteral(" K/W"), kThetaCaseSinkTip);
    Mark(*thetaSinkAmbient_, sinkAmbient, thermalRange, Number(sinkAmbient.inEffect) + QStringLiteral(" K/W"),
         kThetaSinkAmbientTip);
    Mark(*ambient_, ambient,
         QString::fromUtf8("an ambient temperature from %1 to %2 \u00B0C")
             .arg(Number(kLowestAmbientCelsius), Number(kHighestAmbientCelsius)),
         Number(ambient.inEffect) + QString::fromUtf8(" \u00B0C"), kAmbientTip);
}

void DeviceControls::Store()
{
    settings_.setValue(QLatin1String(kSwitchKey), device_ ? switch_->currentText() : QString());
    settings_.setValue(QLatin1String(kDeratingKey), deratingBox_->text());
    settings_.setValue(QLatin1String(kThetaCaseSinkKey), thetaCaseSink_->text());
    settings_.setValue(QLatin1String(kThetaSinkAmbientKey), thetaSinkAmbient_->text());
    settings_.setValue(QLatin1String(kAmbientKey), ambient_->text());
}

void DeviceControls::ApplyTo(DesignOptions& options) const
{
    options.device = device_;
    if (!device_) return;
    options.derating = derating_;
    options.heatSink = sink_;
}

}  // namespace voltra
