// The switching transistor on the design screen: the "Switch" choice of the devices in
// the device folders, and the conditions its ratings and junction temperature are
// checked under (the voltage derating and the heat path from its case to the air).
// Like the other options they are kept in the user's settings; no design file keeps
// them.
#pragma once

#include <QObject>
#include <QSettings>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/design_options.h"
#include "files/device_folders.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace voltra {

class DeviceControls : public QObject {
    Q_OBJECT
public:
    // Builds the controls on the screen with the devices of `listing`, "none" first;
    // `report` tells the user of a device file that cannot be read, the listing's
    // own problems first of all.
    DeviceControls(QWidget& screen, DeviceListing listing, std::function<void(const std::string&)> report);

    // The chosen device and its conditions into the options; with "none" the options
    // keep the ideal switch and the defaults of the conditions.
    void ApplyTo(DesignOptions& options) const;
    const std::optional<Transistor>& Device() const { return device_; }

signals:
    void Changed();

private:
    // Reads the chosen device from its file; one that cannot be read any more is
    // reported and the choice goes back to "none".
    void Choose(int index);
    // Reads the boxes into the conditions and marks those not in effect.
    void Take();
    void Store();

    QSettings settings_;
    DeviceListing listing_;
    std::function<void(const std::string&)> report_;
    std::optional<Transistor> device_;
    double derating_ = kDefaultVoltageDerating;
    HeatSink sink_{kDefaultThetaCaseSink, kDefaultThetaSinkAmbient, kDefaultAmbientCelsius};
    QComboBox* switch_;
    QLineEdit* deratingBox_;
    QLineEdit* thetaCaseSink_;
    QLineEdit* thetaSinkAmbient_;
    QLineEdit* ambient_;
    std::vector<QWidget*> conditions_;  // the boxes and their captions, enabled with a device
};

}  // namespace voltra
