#include "EntryParser.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace pwm20 {
namespace {

// ASCII blanks, the no-break space and the ideographic space a Chinese input method types.
constexpr std::array<std::string_view, 4> blanks{" ", "\t", "\xC2\xA0", "\xE3\x80\x80"};

std::string_view trimBlanks(std::string_view text)
{
    bool trimmed = true;
    while (trimmed && !text.empty()) {
        trimmed = false;
        for (std::string_view blank : blanks) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                trimmed = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                trimmed = true;
            }
        }
    }
    return text;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view takeDigits(std::string_view &text)
{
    std::size_t count = 0;
    while (count < text.size() && isDigit(text[count]))
        ++count;
    std::string_view digits = text.substr(0, count);
    text.remove_prefix(count);
    return digits;
}

// The decimal exponent of the first significant digit: used only to tell an overflowing number
// from an underflowing one when the conversion reports the result out of range.
long long magnitudeOf(std::string_view whole, std::string_view fraction, long long exponent)
{
    const std::size_t firstNonZero = whole.find_first_not_of('0');
    if (firstNonZero != std::string_view::npos)
        return exponent + static_cast<long long>(whole.size() - firstNonZero) - 1;
    const std::size_t leadingZeros = fraction.find_first_not_of('0');
    return exponent - static_cast<long long>(leadingZeros) - 1;
}

} // namespace

std::optional<double> parseEntryNumber(std::string_view text, std::string_view decimalSeparator)
{
    std::string_view rest = trimBlanks(text);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    const std::string_view whole = takeDigits(rest);
    std::string_view fraction;
    if (!decimalSeparator.empty() && rest.starts_with(decimalSeparator)) {
        rest.remove_prefix(decimalSeparator.size());
        fraction = takeDigits(rest);
    }
    if (whole.empty() && fraction.empty())
        return std::nullopt;

    long long exponent = 0;
    if (!rest.empty() && (rest.front() == 'e' || rest.front() == 'E')) {
        rest.remove_prefix(1);
        bool negativeExponent = false;
        if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
            negativeExponent = rest.front() == '-';
            rest.remove_prefix(1);
        }
        const std::string_view exponentDigits = takeDigits(rest);
        if (exponentDigits.empty())
            return std::nullopt;
        for (char digit : exponentDigits) {
            // Saturates far beyond any double's range; the value is decided below all the same.
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (digit - '0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (!rest.empty())
        return std::nullopt;

    if (whole.find_first_not_of('0') == std::string_view::npos &&
        fraction.find_first_not_of('0') == std::string_view::npos)
        return negative ? -0.0 : 0.0;

    std::string plain;
    plain.reserve(whole.size() + fraction.size() + 24);
    plain.append(whole.empty() ? std::string_view("0") : whole);
    plain.push_back('.');
    plain.append(fraction.empty() ? std::string_view("0") : fraction);
    plain.push_back('e');
    plain.append(std::to_string(exponent));

    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = magnitudeOf(whole, fraction, exponent) > 0 ? std::numeric_limits<double>::infinity()
                                                           : 0.0;
    } else if (error != std::errc() || end != plain.data() + plain.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<int> sliderPositionForEntry(std::string_view text, std::string_view decimalSeparator)
{
    const std::optional<double> number = parseEntryNumber(text, decimalSeparator);
    if (!number || !(*number < 256.0))
        return std::nullopt;
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double position = std::nearbyint(255.0 - *number);
    if (!(position >= 0.0 && position <= 255.0))
        return std::nullopt;
    return static_cast<int>(position);
}

} // namespace pwm20
