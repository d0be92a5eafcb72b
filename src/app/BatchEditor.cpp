#include "BatchEditor.h"

#include "SongFont.h"

#include <QKeyEvent>
#include <QTextBlock>

namespace pwm20 {

BatchEditor::BatchEditor(QWidget *parent) : QTextEdit(parent)
{
    setFont(fixedPitchFont());
    // Four characters: an indent, not the 80 pixels that would fill half the box. Measured with
    // the first text: measuring loads the font's glyphs, which the empty box at start-up needs
    // none of.
    connect(
        document(), &QTextDocument::contentsChanged, this,
        [this] { setTabStopDistance(4 * fontMetrics().horizontalAdvance(u' ')); },
        Qt::SingleShotConnection);
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { chooseWrapping(position, added); });
}

void BatchEditor::chooseWrapping(int position, int added)
{
    // Lines wrap between words, so that "shoulder=20" never splits in two; but Qt's search for a
    // word's end grows with the square of the line: 16 K characters take 60 ms, 200 K 10 s, and
    // wrapping anywhere 70 ms. A text with a line over 16 K wraps anywhere until it is gone.
    constexpr int longestWrappedAtWords = 16384;
    const bool anywhere = wordWrapMode() == QTextOption::WrapAnywhere;
    QTextBlock block = anywhere ? document()->firstBlock() : document()->findBlock(position);
    const int end = anywhere ? document()->characterCount() : position + added;
    bool huge = false;
    for (; block.isValid() && block.position() <= end && !huge; block = block.next())
        huge = block.length() > longestWrappedAtWords;
    if (huge != anywhere)
        setWordWrapMode(huge ? QTextOption::WrapAnywhere
                             : QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void BatchEditor::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
        event->modifiers().testFlag(Qt::ControlModifier)) {
        const bool back = key == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
        // QTextEdit keeps Tab for itself while editable; the window's own tab order takes it.
        QWidget::focusNextPrevChild(!back);
        return;
    }
    QTextEdit::keyPressEvent(event);
}

} // namespace pwm20
