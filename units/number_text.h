// Plain decimal text of single-precision values, as the files store them and the
// entry boxes first show them.
#pragma once

#include <string>

namespace voltra {

// At most seven significant digits in fixed notation, trailing zeros and point
// dropped, "0" before the point below 1 ("0.25", "-4.7", "123456.8"). Magnitudes of
// ten million and more are written in full digits ("12345680"), so the text still
// reads back through ParseValue.
std::string SignificantText(double value);

// The frequency form of SignificantText: a space where a minus sign would stand and
// no "0" before the point (" 4", " .25", "-.5"), as the frequency, the switch
// on-resistance and the network-resistance box are written.
std::string LeadingSpaceText(double value);

// General number form: as SignificantText, but magnitudes from 1e7 up and below
// 1e-4 in exponent form with a signed exponent of at least two digits: 4000000,
// 24, 1E-09, 4.975E-08, 1.356E+07, 1E+10. The exponent is chosen after rounding to
// seven digits, so 9999999.6 is written 1E+07. NaN gives "NaN", infinities "Inf"
// and "-Inf".
std::string GeneralNumberText(float value);

}  // namespace voltra
