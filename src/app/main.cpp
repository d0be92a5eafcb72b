#include "app/Form1.h"
#include "app/ModalMessageBox.h"
#include "cli/BatchRunner.h"
#include "serial/QtSerialService.h"

#include <QApplication>

#include <cstring>

int main(int argc, char *argv[])
{
    // `pwm20 run FILE` plays a batch with no window, and so needs no display.
    if (argc > 1 && std::strcmp(argv[1], "run") == 0) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("pwm20"));
        return pwm20::runBatchCommand(QCoreApplication::arguments().mid(2));
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pwm20"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pwm20/pwm20.png")));

    auto messages = std::make_unique<pwm20::ModalMessageBox>();
    pwm20::ModalMessageBox *messageBox = messages.get();
    pwm20::Form1 window(std::make_unique<pwm20::QtSerialService>(), std::move(messages));
    messageBox->setParent(&window);
    window.show();
    return QApplication::exec();
}
