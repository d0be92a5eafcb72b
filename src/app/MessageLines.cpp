#include "MessageLines.h"

#include <QFontMetrics>
#include <QStringList>

namespace pwm20 {
namespace {

// Chinese punctuation ends a piece; ASCII punctuation only with the blank after it, so that "7..32"
// or "2.5" stays whole.
bool breaksAfter(QChar character)
{
    return QStringView(u"，。、：；！？）」』”)").contains(character);
}

// Punctuation that never starts a line.
bool staysWithThePrevious(QChar character)
{
    return breaksAfter(character) || QStringView(u",.;:!?").contains(character);
}

bool breaksBefore(QChar character)
{
    return QStringView(u"（「『“(").contains(character);
}

// The pieces of one paragraph that must not be split, each with the blank that ends it, if any.
QStringList piecesOf(QStringView paragraph)
{
    QStringList pieces;
    QString piece;
    for (qsizetype at = 0; at < paragraph.size(); ++at) {
        const QChar character = paragraph[at];
        if (breaksBefore(character) && !piece.isEmpty())
            pieces << std::exchange(piece, {});
        piece += character;
        const bool last = at + 1 == paragraph.size();
        if (!last && (character.isSpace() || breaksAfter(character)) &&
            !paragraph[at + 1].isSpace() && !staysWithThePrevious(paragraph[at + 1]))
            pieces << std::exchange(piece, {});
    }
    if (!piece.isEmpty())
        pieces << piece;
    return pieces;
}

} // namespace

QString breakMessageLines(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    for (QStringView paragraph : QStringView(text).split(u'\n')) {
        QString line;
        for (const QString &piece : piecesOf(paragraph)) {
            if (!line.isEmpty() && metrics.horizontalAdvance(line + piece.trimmed()) > width)
                lines << std::exchange(line, {}).trimmed();
            line += piece;
        }
        lines << line.trimmed();
    }
    return lines.join(u'\n');
}

} // namespace pwm20
