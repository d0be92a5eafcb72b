#include "app/Form1.h"
#include "app/Language.h"
#include "app/ModalMessageBox.h"
#include "app/RecentFolder.h"
#include "cli/BatchRunner.h"
#include "cli/CommandLine.h"
#include "cli/PlanCommand.h"
#include "cli/PortListing.h"
#include "cli/SetupCheck.h"
#include "cli/StopSignals.h"
#include "serial/PortChoices.h"
#include "serial/QtSerialService.h"
#include "setup/SetupInUse.h"

#include <QApplication>
#include <QTranslator>

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("pwm20"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PWM20_VERSION));
}

// The serial service on the system's ports, with the devices named on the command line.
std::unique_ptr<pwm20::QtSerialService> serialService(pwm20::PortChoices &choices,
                                                      const pwm20::CommandLine &commandLine)
{
    auto comm = std::make_unique<pwm20::QtSerialService>(&choices);
    for (int port = 1; port <= 2; ++port)
        comm->setPortDevice(port, commandLine.portDevices[static_cast<std::size_t>(port - 1)]);
    return comm;
}

} // namespace

int main(int argc, char *argv[])
{
    using pwm20::CommandLine;
    CommandLine commandLine;
    if (argc > 1) {
        // Read before any window exists: --help, --version, run and plan need no display.
        QCoreApplication app(argc, argv);
        nameApplication();
        QTranslator translator;
        pwm20::installLanguage(translator, pwm20::requestedLanguage(app.arguments()));
        commandLine = pwm20::readCommandLine(app.arguments());
        if (commandLine.action == CommandLine::Action::Exit)
            return commandLine.exitStatus;
        if (commandLine.action == CommandLine::Action::RunBatch)
            return pwm20::endByStopSignal(pwm20::runBatchCommand(
                commandLine.batchArguments, commandLine.portDevices, commandLine.setupFile));
        if (commandLine.action == CommandLine::Action::PlanBatch)
            return pwm20::planBatchCommand(commandLine.batchArguments, commandLine.setupFile);
        if (commandLine.action == CommandLine::Action::CheckSetup)
            return pwm20::checkSetupCommand(commandLine.setupFile);
        if (commandLine.action == CommandLine::Action::ListPorts) {
            pwm20::PortChoices choices;
            return pwm20::printPorts(*serialService(choices, commandLine));
        }
    }
    QApplication app(argc, argv);
    nameApplication();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pwm20/pwm20.png")));
    QTranslator translator;
    pwm20::installLanguage(translator, commandLine.language);

    pwm20::PortChoices choices;
    auto comm = serialService(choices, commandLine);
    auto messages = std::make_unique<pwm20::ModalMessageBox>();
    pwm20::ModalMessageBox *messageBox = messages.get();
    pwm20::Form1 window(std::move(comm), std::move(messages),
                        std::make_unique<pwm20::RecentFolder>());
    messageBox->setParent(&window);
    // A setup named on the command line, else the one used last time; none: the defaults. A
    // fault is reported once the window is on screen.
    const QString setup = commandLine.setupFile.isEmpty() ? pwm20::SetupInUse::rememberedPath()
                                                          : commandLine.setupFile;
    if (!setup.isEmpty())
        window.useSetup(setup);
    window.show();
    // Opened over the window, so that a file that cannot be used is told there.
    if (!commandLine.editFile.isEmpty())
        window.editFile(commandLine.editFile);
    // A logout or `kill` stops the window as closing it does, and it then ends by that signal.
    const pwm20::StopSignals stopSignals;
    QObject::connect(&stopSignals, &pwm20::StopSignals::stopRequested, &window,
                     &pwm20::Form1::stopBySignal);
    QObject::connect(&window, &pwm20::Form1::stoppedBySignal, &window,
                     [](int exitStatus) { pwm20::endByStopSignal(exitStatus); });
    return QApplication::exec();
}
