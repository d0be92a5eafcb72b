#include "FileProblem.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace pwm20 {

QString fileProblem(const QString &path, FileAccess access, QFileDevice::FileError error)
{
    const bool reading = access == FileAccess::Read;
    const QFileInfo file(path);
    // Standard input has no path to look at.
    if (path.isEmpty())
        return reading ? QCoreApplication::translate("FileProblem", "读取失败。")
                       : QCoreApplication::translate("FileProblem", "写入失败。");
    if (file.isDir())
        return QCoreApplication::translate("FileProblem", "这是一个文件夹，不是文件。");
    if (reading && !file.exists())
        return QCoreApplication::translate("FileProblem", "没有这个文件。");
    if (reading && !file.isReadable())
        return QCoreApplication::translate("FileProblem", "没有读取它的权限。");
    if (reading)
        return QCoreApplication::translate("FileProblem", "读取失败。");
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QCoreApplication::translate("FileProblem", "它所在的文件夹不存在。");
    if ((file.exists() && !file.isWritable()) || !folder.isWritable())
        return QCoreApplication::translate("FileProblem", "没有写入的权限。");
    if (error == QFileDevice::WriteError || error == QFileDevice::ResourceError)
        return QCoreApplication::translate("FileProblem", "写入失败，磁盘可能已满。");
    return QCoreApplication::translate("FileProblem", "写入失败。");
}

} // namespace pwm20
