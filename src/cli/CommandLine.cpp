#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cerrno>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace pwm20 {

int printOut(const QString &text)
{
    std::fputs(qPrintable(text), stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    std::fputs(qPrintable(QCoreApplication::translate("CommandLine", "无法写入标准输出：%1")
                              .arg(qt_error_string(errno)) +
                          u'\n'),
               stderr);
    return 1;
}

QString helpText(const QCommandLineParser &parser, const QString &usage)
{
    QString help = parser.helpText();
    const QString heading = QCoreApplication::translate("QCommandLineParser", "Usage: %1");
    const QString asStarted = heading.arg(QCoreApplication::arguments().value(0));
    if (!help.startsWith(asStarted))
        return help;
    const qsizetype end = usage.isEmpty() ? asStarted.size() : help.indexOf(u'\n');
    return help.replace(0, end, heading.arg(usage.isEmpty() ? QStringLiteral("pwm20") : usage));
}

QString requestedLanguage(const QStringList &arguments)
{
    QString language;
    for (qsizetype at = 1;
         at < arguments.size() && arguments[at] != u"run" && arguments[at] != u"plan"; ++at) {
        if (arguments[at].startsWith(u"--lang="))
            language = arguments[at].mid(7);
        else if (arguments[at] == u"--lang")
            language = arguments.value(at + 1);
    }
    // Anything else is refused, in the user's own language.
    return language == u"zh" || language == u"en" ? language : QString();
}

CommandLine readCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "驱动 20 路 PWM 舵机控制板的上位机程序。不带参数时打开窗口。"));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("CommandLine", "显示本帮助并退出。"));
    const QCommandLineOption version(
        QStringLiteral("version"), QCoreApplication::translate("CommandLine", "显示版本并退出。"));
    const QCommandLineOption com1(
        QStringLiteral("com1"), QCoreApplication::translate("CommandLine", "com1 代表的串口设备。"),
        QStringLiteral("DEVICE"));
    const QCommandLineOption com2(
        QStringLiteral("com2"), QCoreApplication::translate("CommandLine", "com2 代表的串口设备。"),
        QStringLiteral("DEVICE"));
    const QCommandLineOption lang(
        QStringLiteral("lang"), QCoreApplication::translate("CommandLine", "界面语言：zh 或 en。"),
        QStringLiteral("zh|en"));
    const QCommandLineOption ports(
        QStringLiteral("ports"),
        QCoreApplication::translate("CommandLine",
                                    "显示 com1 和 com2 代表的设备以及系统中的串口，然后退出。"));
    const QCommandLineOption setup(
        QStringLiteral("setup"),
        QCoreApplication::translate(
            "CommandLine",
            "通道设置文件（名称、范围、归位）；窗口不给时使用上次用过的，run 和 plan 不给时不用。"),
        QStringLiteral("FILE"));
    const QCommandLineOption check(
        QStringLiteral("check"),
        QCoreApplication::translate("CommandLine", "检查通道设置文件并显示其内容，然后退出。"));
    const QCommandLineOption edit(
        QStringLiteral("edit"),
        QCoreApplication::translate("CommandLine",
                                    "在批量命令框中打开批量命令文件，并在窗口旁打开动作编辑器。"),
        QStringLiteral("FILE"));
    parser.addOptions({help, version, ports, com1, com2, lang, setup, check, edit});
    parser.addPositionalArgument(
        QStringLiteral("run"),
        QCoreApplication::translate("CommandLine",
                                    "run FILE [--port DEVICE | --com N] [--setup SETUP]\n"
                                    "不打开窗口，按批量命令文件发送帧；run --help 显示详情。"),
        QStringLiteral("[run FILE ...]"));
    parser.addPositionalArgument(
        QStringLiteral("plan"),
        QCoreApplication::translate(
            "CommandLine", "plan FILE [--setup SETUP] [--csv] [--for SECONDS]\n"
                           "不打开串口，列出 run 会发送的每一帧及其时间；plan --help 显示详情。"),
        QStringLiteral("[plan FILE ...]"));
    // One command at most: Qt's usage line would list both as if they went together.
    const QString usage = u"pwm20 "_s +
                          QCoreApplication::translate("QCommandLineParser", "[options]") +
                          u" [run|plan FILE ...]"_s;

    CommandLine commandLine;
    commandLine.action = CommandLine::Action::Exit;
    QString mistake;
    if (!parser.parse(arguments))
        mistake = parser.errorText();
    else if (const QStringList rest = parser.positionalArguments();
             !rest.isEmpty() && rest[0] != u"run" && rest[0] != u"plan")
        mistake = QCoreApplication::translate("CommandLine", "未知的参数“%1”。").arg(rest[0]);
    else if (parser.isSet(lang) && parser.value(lang) != u"zh" && parser.value(lang) != u"en")
        mistake = QCoreApplication::translate("CommandLine", "--lang 只接受 zh 或 en。");
    if (!mistake.isEmpty()) {
        std::fputs(qPrintable(mistake + u'\n' + helpText(parser, usage)), stderr);
        commandLine.exitStatus = 2;
        return commandLine;
    }
    if (parser.isSet(help)) {
        commandLine.exitStatus = printOut(helpText(parser, usage));
        return commandLine;
    }
    if (parser.isSet(version)) {
        commandLine.exitStatus =
            printOut(u"pwm20 "_s + QCoreApplication::applicationVersion() + u'\n');
        return commandLine;
    }
    commandLine.language = parser.value(lang);
    commandLine.portDevices = {parser.value(com1), parser.value(com2)};
    commandLine.setupFile = parser.value(setup);
    commandLine.editFile = parser.value(edit);
    commandLine.batchArguments = parser.positionalArguments().mid(1);
    if (parser.isSet(check))
        commandLine.action = CommandLine::Action::CheckSetup;
    else if (parser.isSet(ports))
        commandLine.action = CommandLine::Action::ListPorts;
    else if (!parser.positionalArguments().isEmpty())
        commandLine.action = parser.positionalArguments()[0] == u"plan"
                                 ? CommandLine::Action::PlanBatch
                                 : CommandLine::Action::RunBatch;
    else
        commandLine.action = CommandLine::Action::OpenWindow;
    return commandLine;
}

} // namespace pwm20
