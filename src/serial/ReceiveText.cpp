#include "ReceiveText.h"

namespace pwm20 {

QString textFromLineBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

QByteArray receiveBufferFromText(const QString &text)
{
    QByteArray buffer(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        buffer[2 * i] = static_cast<char>(unit & 0xFF);
        buffer[2 * i + 1] = static_cast<char>(unit >> 8);
    }
    return buffer;
}

QString textFromReceiveBuffer(const QByteArray &buffer)
{
    QString text(buffer.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto low = static_cast<unsigned char>(buffer[2 * i]);
        const auto high = static_cast<unsigned char>(buffer[2 * i + 1]);
        text[i] = QChar(static_cast<char16_t>(low | (high << 8)));
    }
    return text;
}

} // namespace pwm20
