#include "app/Form1.h"
#include "app/ModalMessageBox.h"
#include "serial/QtSerialService.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pwm20"));
    QApplication::setApplicationDisplayName(QStringLiteral("pwm20"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pwm20/pwm20.png")));

    auto messages = std::make_unique<pwm20::ModalMessageBox>();
    pwm20::ModalMessageBox *messageBox = messages.get();
    pwm20::Form1 window(std::make_unique<pwm20::QtSerialService>(), std::move(messages));
    messageBox->setParent(&window);
    window.show();
    return QApplication::exec();
}
