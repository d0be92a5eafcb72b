#include "ModalMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace pwm20 {

void ModalMessageBox::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, m_parent);
    box.exec();
}

} // namespace pwm20
