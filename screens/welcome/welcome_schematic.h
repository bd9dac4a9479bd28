// The welcome screen's decorative Class E stage: square-wave drive, transistor,
// RF choke, shunt and series capacitors, series inductor, load and ground rail,
// drawn in white at fixed places in welcome drawing units on any painter.
#pragma once

class QPainter;

namespace voltra {

// Draws the whole stage around the origin (6800, 3500): it spans x = 4800..10360
// and y = 1300..5200. The painter's transform maps drawing units to its device;
// lines are 2 device pixels wide and arcs are circles on the device, their radius
// given in horizontal units. The choke's arcs take `chokeArcRadius`, the series
// inductor's always 80.
void PaintWelcomeStage(QPainter& painter, float chokeArcRadius);

}  // namespace voltra
