#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace pwm20 {

inline constexpr qint64 largestBatchFile = 1024 * 1024;

// A batch file's bytes: UTF-8 text of 1 MiB at most, without a byte-order mark, which
// `byteOrderMark` tells of; "-" reads standard input to its end. Anything else gives nothing, and
// `error` says why in words for the user.
std::optional<QByteArray> readBatchFile(const QString &path, QString &error,
                                        bool *byteOrderMark = nullptr);

// How messages name the file `path` stands for: "-" is standard input.
QString batchFileName(const QString &path);

// Replaces the file only once all of the bytes are written, so a failed save leaves the old file.
bool writeBatchFile(const QString &path, const QByteArray &bytes, QString &error);

// How a file wrote its text, so that the text goes back as it came: its byte-order mark, and the
// end of each paragraph in turn (as lineEnds' index), a paragraph being what a text box makes of
// a line: it keeps a U+2028 inside one.
struct FileStyle
{
    bool byteOrderMark = false;
    std::vector<std::uint8_t> paragraphEnds;
};

FileStyle fileStyle(std::string_view text, bool byteOrderMark);
// The bytes of a text box's paragraphs, U+2029 between them, written in that style; a paragraph
// past the file's own ends with the file's last end (LF when it had none).
QByteArray fileBytes(QStringView paragraphs, const FileStyle &style);

} // namespace pwm20
