#include "ModalMessageBox.h"

#include "MessageLines.h"

#include <QApplication>

namespace pwm20 {
namespace {

constexpr int messageWidth = 360;

} // namespace

void ModalMessageBox::showMessage(const QString &text)
{
    show(QMessageBox::NoIcon, text);
}

void ModalMessageBox::showWarning(const QString &text)
{
    show(QMessageBox::Warning, text);
}

void ModalMessageBox::show(QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, QApplication::applicationDisplayName(), {}, QMessageBox::Ok, m_parent);
    box.setTextFormat(Qt::PlainText);
    // Lines of a width that reads well, broken between words and at punctuation only.
    box.setText(breakMessageLines(text, QFontMetrics(box.font()), messageWidth));
    box.exec();
}

} // namespace pwm20
