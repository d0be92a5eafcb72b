#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace pwm20 {

inline constexpr qint64 largestBatchFile = 1024 * 1024;

// A batch file's bytes: UTF-8 text of 1 MiB at most, without a byte-order mark; "-" reads
// standard input to its end. Anything else gives nothing, and `error` says why in words for the
// user.
std::optional<QByteArray> readBatchFile(const QString &path, QString &error);

// How messages name the file `path` stands for: "-" is standard input.
QString batchFileName(const QString &path);

// Replaces the file only once all of the text is written, so a failed save leaves the old file.
bool writeBatchFile(const QString &path, const QString &text, QString &error);

} // namespace pwm20
