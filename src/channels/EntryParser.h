#pragma once

#include <optional>
#include <string_view>

namespace pwm20 {

// The number a value box holds when Enter is pressed: blanks around, an optional sign, digits with
// the user's decimal separator and a fraction, an optional exponent. Nothing else counts as a
// number (no hex, no "inf" or "nan", no thousands separators). Text is UTF-8.
std::optional<double> parseEntryNumber(std::string_view text, std::string_view decimalSeparator);

// The slider position that Enter in a value box asks for, or nothing when the box must be reset
// to "0": text that is not a number, a number of 256 or more, and a number whose position
// (255 minus it, halves to even) would fall outside the slider's 0..255.
std::optional<int> sliderPositionForEntry(std::string_view text, std::string_view decimalSeparator);

} // namespace pwm20
