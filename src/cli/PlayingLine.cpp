#include "PlayingLine.h"

#include <QCoreApplication>

#include <algorithm>
#include <string>

namespace pwm20 {
namespace {

// The characters a terminal draws two columns wide: East Asian wide and full-width forms. A
// combining mark takes none: it is drawn over the character before it.
struct WideRange
{
    char32_t first, last;
};
constexpr WideRange wideRanges[] = {
    {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0xA4CF},   {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},
    {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
};

int columns(char32_t point)
{
    const QChar::Category category = QChar::category(point);
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing)
        return 0;
    return std::any_of(
               std::begin(wideRanges), std::end(wideRanges),
               [point](WideRange range) { return point >= range.first && point <= range.last; })
               ? 2
               : 1;
}

} // namespace

QString playingLine(int line, const QString &text, std::optional<LoopPass> pass, int width)
{
    QString full;
    if (!pass)
        full = QCoreApplication::translate("PlayingLine", "第 %1 行：%2").arg(line).arg(text);
    else if (pass->count == 0)
        full = QCoreApplication::translate("PlayingLine", "第 %1 行（第 %2 遍）：%3")
                   .arg(line)
                   .arg(pass->pass)
                   .arg(text);
    else
        full = QCoreApplication::translate("PlayingLine", "第 %1 行（第 %2/%3 遍）：%4")
                   .arg(line)
                   .arg(pass->pass)
                   .arg(pass->count)
                   .arg(text);
    // A control character (a tab, an escape) would move the cursor: a blank stands for it.
    std::u32string points = full.toStdU32String();
    int total = 0;
    for (char32_t &point : points) {
        if (point < 0x20 || (point >= 0x7F && point < 0xA0))
            point = U' ';
        total += columns(point);
    }
    // The last column stays free: some terminals wrap as soon as it is written.
    const int room = std::max(width - 1, 1);
    if (total > room) {
        int used = 1; // the ellipsis
        std::size_t kept = 0;
        while (kept < points.size() && used + columns(points[kept]) <= room)
            used += columns(points[kept++]);
        points.resize(kept);
        points += U'…';
    }
    return QString::fromStdU32String(points);
}

} // namespace pwm20
