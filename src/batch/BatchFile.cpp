#include "BatchFile.h"

#include "BatchLines.h"
#include "files/FileProblem.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace pwm20 {
namespace {

bool isUtf8Text(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    // U+FDD0 and U+FDD1 are no text: the batch box would take them for paragraph ends, and the
    // box and the shell would count the file's lines apart.
    return !decoder.hasError() && !bytes.contains('\0') && !bytes.contains("\xEF\xB7\x90") &&
           !bytes.contains("\xEF\xB7\x91");
}

// A file by its name in quotes; standard input by that name.
QString quotedName(const QString &path)
{
    return path == u"-" ? batchFileName(path) : u"“"_s + path + u"”"_s;
}

// Why a file, or standard input, could not be read.
QString readProblem(const QString &path, const QFile &file)
{
    return fileProblem(path == u"-" ? QString() : path, FileAccess::Read, file.error());
}

} // namespace

QString batchFileName(const QString &path)
{
    return path == u"-" ? QCoreApplication::translate("BatchFile", "标准输入") : path;
}

std::optional<QByteArray> readBatchFile(const QString &path, QString &error, bool *byteOrderMark)
{
    QFile file(path);
    const bool opened =
        path == u"-" ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    if (!opened) {
        error = QCoreApplication::translate("BatchFile", "无法打开%1：%2")
                    .arg(quotedName(path), readProblem(path, file));
        return std::nullopt;
    }
    // Standard input comes in pieces as they are written: read to its end, or until past the cap.
    QByteArray bytes;
    while (bytes.size() <= largestBatchFile) {
        const QByteArray piece = file.read(largestBatchFile + 1 - bytes.size());
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError) {
        error = QCoreApplication::translate("BatchFile", "无法打开%1：%2")
                    .arg(quotedName(path), readProblem(path, file));
        return std::nullopt;
    }
    if (bytes.size() > largestBatchFile) {
        error = QCoreApplication::translate("BatchFile", "无法打开%1：文件超过 1 MiB。")
                    .arg(quotedName(path));
        return std::nullopt;
    }
    // Some editors start UTF-8 text with a byte-order mark; it is no part of the first line.
    const bool marked = bytes.startsWith("\xEF\xBB\xBF");
    if (marked)
        bytes.remove(0, 3);
    if (byteOrderMark)
        *byteOrderMark = marked;
    if (!isUtf8Text(bytes)) {
        error = QCoreApplication::translate("BatchFile", "无法打开%1：文件不是 UTF-8 文本。")
                    .arg(quotedName(path));
        return std::nullopt;
    }
    return bytes;
}

bool writeBatchFile(const QString &path, const QByteArray &bytes, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit()) {
        error = QCoreApplication::translate("BatchFile", "无法保存“%1”：%2")
                    .arg(path, fileProblem(path, FileAccess::Write, file.error()));
        return false;
    }
    return true;
}

FileStyle fileStyle(std::string_view text, bool byteOrderMark)
{
    FileStyle style{byteOrderMark, {}};
    for (const TextLine &line : splitLines(text)) {
        const auto end = std::ranges::find(lineEnds, line.end);
        if (end != lineEnds.end() && *end != lineSeparator)
            style.paragraphEnds.push_back(std::uint8_t(end - lineEnds.begin()));
    }
    return style;
}

QByteArray fileBytes(QStringView paragraphs, const FileStyle &style)
{
    QByteArray bytes = style.byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    const std::vector<std::uint8_t> &ends = style.paragraphEnds;
    qsizetype start = 0;
    for (std::size_t index = 0;; ++index) {
        const qsizetype end = paragraphs.indexOf(QChar::ParagraphSeparator, start);
        bytes += paragraphs.sliced(start, (end < 0 ? paragraphs.size() : end) - start).toUtf8();
        if (end < 0)
            return bytes;
        const std::string_view lineEnd =
            ends.empty() ? "\n" : lineEnds[index < ends.size() ? ends[index] : ends.back()];
        bytes.append(lineEnd.data(), qsizetype(lineEnd.size()));
        start = end + 1;
    }
}

} // namespace pwm20
