#include "PortNaming.h"

#include <QFileInfo>

#include <algorithm>

namespace pwm20 {
namespace {

int groupOf(const QString &name)
{
    if (name.startsWith(u"ttyUSB"))
        return 0;
    if (name.startsWith(u"ttyACM"))
        return 1;
    return 2;
}

// Compares runs of digits by their value and everything else character by character.
bool naturalLess(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype endA = i;
            qsizetype endB = j;
            while (endA < a.size() && a[endA].isDigit())
                ++endA;
            while (endB < b.size() && b[endB].isDigit())
                ++endB;
            QStringView digitsA = QStringView(a).mid(i, endA - i);
            QStringView digitsB = QStringView(b).mid(j, endB - j);
            while (digitsA.size() > 1 && digitsA.front() == u'0')
                digitsA = digitsA.mid(1);
            while (digitsB.size() > 1 && digitsB.front() == u'0')
                digitsB = digitsB.mid(1);
            if (digitsA.size() != digitsB.size())
                return digitsA.size() < digitsB.size();
            if (const int order = digitsA.compare(digitsB); order != 0)
                return order < 0;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return (a.size() - i) < (b.size() - j);
}

} // namespace

QStringList orderedSerialPorts(QStringList names)
{
    std::stable_sort(names.begin(), names.end(), [](const QString &pathA, const QString &pathB) {
        const QString a = pathA.section(u'/', -1);
        const QString b = pathB.section(u'/', -1);
        const int groupA = groupOf(a);
        const int groupB = groupOf(b);
        return groupA != groupB ? groupA < groupB : naturalLess(a, b);
    });
    return names;
}

QString devicePath(const QString &name)
{
#ifdef Q_OS_WIN
    return name;
#else
    if (name.isEmpty() || name.startsWith(u'/') || name.startsWith(u"./") ||
        name.startsWith(u"../"))
        return name;
    return QStringLiteral("/dev/") + name;
#endif
}

bool sameDevice(const QString &first, const QString &second)
{
    if (first.isEmpty() || second.isEmpty())
        return false;
    const QString target = QFileInfo(first).canonicalFilePath();
    return first == second ||
           (!target.isEmpty() && target == QFileInfo(second).canonicalFilePath());
}

PortDevice choosePortDevice(int port, const NamedDevices &named, const QStringList &systemPorts)
{
    using Source = PortDevice::Source;
    for (const auto &[device, source] : {std::pair{named.commandLine, Source::CommandLine},
                                         std::pair{named.environment, Source::Environment},
                                         std::pair{named.remembered, Source::Remembered}}) {
        if (!device.isEmpty())
            return {device, source};
    }
    const QStringList ordered = orderedSerialPorts(systemPorts);
    if (port < 1 || port > ordered.size())
        return {};
    return {ordered[port - 1], Source::Automatic};
}

} // namespace pwm20
