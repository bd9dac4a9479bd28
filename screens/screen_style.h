// What every Voltra window shares in its looks: the grey button face and the two
// faces that stand in for Arial and Times New Roman with the same metrics.
#pragma once

#include <QRgb>

namespace voltra {

inline constexpr QRgb kButtonFace = qRgb(224, 224, 224);
inline constexpr const char* kSansFamily = "Liberation Sans";
inline constexpr const char* kSerifFamily = "Liberation Serif";
// A box whose text is not the value in effect says so in red; its tip says which is.
inline constexpr const char* kOutOfEffectStyle = "QLineEdit { color: rgb(255, 0, 0); }";

}  // namespace voltra
