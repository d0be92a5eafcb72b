#pragma once

#include <QStringView>

#include <optional>

namespace pwm20 {

// A settings text such as "9600,n,8,1": baud rate, parity letter, data bits, stop bits.
struct LineSettings
{
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    int baudRate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;

    static std::optional<LineSettings> parse(QStringView text);

    bool operator==(const LineSettings &) const = default;
};

} // namespace pwm20
