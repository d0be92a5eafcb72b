#include "BatchEditor.h"

#include <QKeyEvent>

namespace pwm20 {

BatchEditor::BatchEditor(QWidget *parent) : QTextEdit(parent)
{
    setFont(fixedPitchFont(9));
    // Four characters: an indent, not the 80 pixels that would fill half the box.
    setTabStopDistance(4 * fontMetrics().horizontalAdvance(u' '));
}

QFont BatchEditor::fixedPitchFont(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei Mono"),
                      QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("Consolas")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(pointSize);
    return font;
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
