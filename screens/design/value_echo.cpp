// Echo texts from the engineering formatter, with the SI unit written out.
#include "screens/design/value_echo.h"

#include <array>

#include "units/format.h"

namespace voltra {

namespace {

// Units by target, in the order of kTargets; the network Q has none.
constexpr std::array<const char*, 6> kUnits = {"Hz", "W", "V", "V", "", "s"};
constexpr const char* kOhm = "\u03A9";
constexpr const char* kMicro = "\u00B5";
constexpr const char* kRangeTip = "Recalculates from %1 to %2";
constexpr const char* kReplacedTip = "; %1 typed, %2 in effect";

// The formatter writes micro as "u", the way SPICE reads it; an echo is for reading.
QString Prefixed(float value, const char* unit)
{
    QString text = QString::fromStdString(FormatPrefixed(value)).trimmed();
    if (text.endsWith(QLatin1Char('u'))) text.replace(text.size() - 1, 1, QString::fromUtf8(kMicro));
    if (text.isEmpty()) text = QStringLiteral("0");
    // The formatter puts a space before its prefix; a bare number gets one before the unit.
    const bool prefixed = text.size() > 1 && text[text.size() - 2] == QLatin1Char(' ');
    if (!prefixed) text += QLatin1Char(' ');
    return (text + QString::fromUtf8(unit)).trimmed();
}

QString Range(float low, float high, const char* unit)
{
    return QString::fromLatin1(kRangeTip).arg(Prefixed(low, unit), Prefixed(high, unit));
}

}  // namespace

ValueEcho TargetEcho(Target target, float entered, float stored)
{
    const char* unit = kUnits[static_cast<size_t>(target)];
    const EntryLimits& limits = kEntryLimits[static_cast<size_t>(target)];
    const bool replaced = entered != stored;
    QString tip = Range(limits.recalcLow, limits.recalcHigh, unit);
    if (replaced) tip += QString::fromLatin1(kReplacedTip).arg(Prefixed(entered, unit), Prefixed(stored, unit));
    return {Prefixed(stored, unit), replaced || !InRecalcRange(target, stored), tip};
}

ValueEcho RnetworkEcho(float entered, float inEffect)
{
    const bool outside = !RnetworkAccepted(entered);
    QString tip = Range(kRnetworkMin, kRnetworkMax, kOhm);
    if (outside) tip += QString::fromLatin1(kReplacedTip).arg(Prefixed(entered, kOhm), Prefixed(inEffect, kOhm));
    return {Prefixed(inEffect, kOhm), outside, tip};
}

}  // namespace voltra
