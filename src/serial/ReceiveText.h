#pragma once

#include <QByteArray>
#include <QString>

namespace pwm20 {

// Received bytes as text: each byte is one character (Latin-1), which never fails and loses
// nothing, so 0x80..0xFF show as one character each.
QString textFromLineBytes(const QByteArray &bytes);

// The receive buffer holds the received text's storage: its 16-bit code units, low byte first.
QByteArray receiveBufferFromText(const QString &text);
QString textFromReceiveBuffer(const QByteArray &buffer);

} // namespace pwm20
