#pragma once

#include <QString>
#include <QStringList>

#include <array>

class QCommandLineParser;

namespace pwm20 {

// What pwm20 was asked to do on its command line.
struct CommandLine
{
    enum class Action { OpenWindow, RunBatch, PlanBatch, ListPorts, CheckSetup, Exit };

    Action action = Action::OpenWindow;
    int exitStatus = 0;
    QString language;                   // "zh", "en", or empty for the user's own
    std::array<QString, 2> portDevices; // --com1 and --com2; empty where not given
    QString setupFile;                  // --setup; empty where not given
    QString editFile;                   // --edit: a batch file for the motion editor
    QStringList batchArguments;         // what follows `run` or `plan`
};

// Writes `text` to standard output at once: 0, or 1 when it cannot be written (a full disk), which
// is told on standard error. A closed pipe ends the process by SIGPIPE.
int printOut(const QString &text);

// Qt's help with the program named pwm20, however it was started; `usage` replaces the whole
// usage line after Qt's heading when given.
QString helpText(const QCommandLineParser &parser, const QString &usage = {});

// The language --lang names (zh or en; empty for anything else), read ahead of everything else so
// that the help is in it already.
QString requestedLanguage(const QStringList &arguments);

// Reads the command line, arguments[0] being the program. --help and --version are printed here,
// and a mistake is reported with the usage on standard error; both give Action::Exit.
CommandLine readCommandLine(const QStringList &arguments);

} // namespace pwm20
