#include "BatchEditor.h"

#include <QKeyEvent>

namespace pwm20 {
namespace {

// Fixed pitch, with Chinese, at the size of the window's font; the system's fixed-pitch font
// where none of these is installed.
QFont fixedPitchFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei Mono"),
                      QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("Consolas")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(9);
    return font;
}

} // namespace

BatchEditor::BatchEditor(QWidget *parent) : QTextEdit(parent)
{
    setFont(fixedPitchFont());
    // Four characters: an indent, not the 80 pixels that would fill half the box.
    setTabStopDistance(4 * fontMetrics().horizontalAdvance(u' '));
    // Broken anywhere: looking for a word's end first makes a 200 KB word take Qt's layout some
    // 20 s; anywhere, 70 ms. In a fixed-pitch box a command reads as well either way.
    setWordWrapMode(QTextOption::WrapAnywhere);
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
