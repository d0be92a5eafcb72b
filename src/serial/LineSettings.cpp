#include "LineSettings.h"

#include <QList>
#include <QString>

namespace pwm20 {

std::optional<LineSettings> LineSettings::parse(QStringView text)
{
    const QList<QStringView> fields = text.split(u',');
    if (fields.size() != 4)
        return std::nullopt;

    LineSettings settings;
    bool ok = false;
    settings.baudRate = fields[0].trimmed().toInt(&ok);
    if (!ok || settings.baudRate <= 0)
        return std::nullopt;

    const QString parity = fields[1].trimmed().toString().toLower();
    if (parity == u"n")
        settings.parity = Parity::None;
    else if (parity == u"e")
        settings.parity = Parity::Even;
    else if (parity == u"o")
        settings.parity = Parity::Odd;
    else if (parity == u"m")
        settings.parity = Parity::Mark;
    else if (parity == u"s")
        settings.parity = Parity::Space;
    else
        return std::nullopt;

    settings.dataBits = fields[2].trimmed().toInt(&ok);
    if (!ok || settings.dataBits < 5 || settings.dataBits > 8)
        return std::nullopt;

    const QStringView stopBits = fields[3].trimmed();
    if (stopBits == u"1")
        settings.stopBits = StopBits::One;
    else if (stopBits == u"1.5")
        settings.stopBits = StopBits::OneAndHalf;
    else if (stopBits == u"2")
        settings.stopBits = StopBits::Two;
    else
        return std::nullopt;
    return settings;
}

} // namespace pwm20
