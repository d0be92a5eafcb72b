#include "ServoFrame.h"

namespace pwm20 {

void fillChannelFrame(FrameBuffer &frame, int channel, std::uint8_t value)
{
    frame[0] = frameStart;
    frame[1] = static_cast<std::uint8_t>(channel);
    frame[2] = value;
    frame[3] = frameEnd;
}

QByteArray frameBytes(const FrameBuffer &frame)
{
    return QByteArray(reinterpret_cast<const char *>(frame.data()),
                      static_cast<qsizetype>(frame.size()));
}

QString echoPrefix(int channel)
{
    return QStringLiteral("S %1 ").arg(channel);
}

QString echoText(int channel, const QString &valueText)
{
    return echoPrefix(channel) + valueText + QStringLiteral(" E");
}

} // namespace pwm20
