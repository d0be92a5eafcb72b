#include "ModalMessageBox.h"

#include <QApplication>

namespace pwm20 {

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
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, m_parent);
    // Plain text, wrapped between words and at punctuation only.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace pwm20
