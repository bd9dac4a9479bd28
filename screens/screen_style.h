// What every Voltra window shares in its looks: the grey button face and the two
// faces that stand in for Arial and Times New Roman with the same metrics.
#pragma once

#include <QRgb>
#include <QString>
#include <QWidget>

namespace voltra {

inline constexpr QRgb kButtonFace = qRgb(224, 224, 224);
inline constexpr const char* kSansFamily = "Liberation Sans";
inline constexpr const char* kSerifFamily = "Liberation Serif";
// A box whose text is not the value in effect says so in red; its tip says which is.
inline constexpr const char* kOutOfEffectStyle = "QLineEdit { color: rgb(255, 0, 0); }";

// Marks a box in effect or not. Qt re-polishes and repaints a widget on every style
// sheet it is given, the same one included, so an unchanged mark is left alone: a
// keystroke then repaints only what it changed.
inline void ShowInEffect(QWidget& box, bool inEffect)
{
    const QString style = inEffect ? QString() : QString::fromLatin1(kOutOfEffectStyle);
    if (box.styleSheet() != style) box.setStyleSheet(style);
}

}  // namespace voltra
