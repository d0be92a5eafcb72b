#pragma once

#include <QFileDevice>
#include <QString>

namespace pwm20 {

enum class FileAccess { Read, Write };

// Why `path` could not be read or written, in the program's own words in the user's language:
// Qt's own error strings are raw English ("file to open is a directory") in either window.
QString fileProblem(const QString &path, FileAccess access, QFileDevice::FileError error);

} // namespace pwm20
