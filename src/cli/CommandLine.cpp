#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace pwm20 {
QString requestedLanguage(const QStringList &arguments)
{
    for (qsizetype at = 1; at < arguments.size(); ++at) {
        if (arguments[at] == u"run")
            break;
        if (arguments[at].startsWith(u"--lang="))
            return arguments[at].mid(7);
        if (arguments[at] == u"--lang")
            return arguments.value(at + 1);
    }
    return {};
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
            "通道设置文件（名称、范围、归位）；窗口不给时使用上次用过的，run 不给时不用。"),
        QStringLiteral("FILE"));
    const QCommandLineOption check(
        QStringLiteral("check"),
        QCoreApplication::translate("CommandLine", "检查通道设置文件并显示其内容，然后退出。"));
    parser.addOptions({help, version, ports, com1, com2, lang, setup, check});
    parser.addPositionalArgument(
        QStringLiteral("run"),
        QCoreApplication::translate(
            "CommandLine",
            "run FILE [--port DEVICE | --com N]：不打开窗口，按批量命令文件发送帧。"),
        QStringLiteral("[run FILE ...]"));

    CommandLine commandLine;
    commandLine.action = CommandLine::Action::Exit;
    QString mistake;
    if (!parser.parse(arguments))
        mistake = parser.errorText();
    else if (const QStringList rest = parser.positionalArguments();
             !rest.isEmpty() && rest[0] != u"run")
        mistake = QCoreApplication::translate("CommandLine", "未知的参数“%1”。").arg(rest[0]);
    else if (parser.isSet(lang) && parser.value(lang) != u"zh" && parser.value(lang) != u"en")
        mistake = QCoreApplication::translate("CommandLine", "--lang 只接受 zh 或 en。");
    if (!mistake.isEmpty()) {
        std::fputs(qPrintable(mistake + u'\n' + parser.helpText()), stderr);
        commandLine.exitStatus = 2;
        return commandLine;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return commandLine;
    }
    if (parser.isSet(version)) {
        std::printf("pwm20 %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return commandLine;
    }
    commandLine.language = parser.value(lang);
    commandLine.portDevices = {parser.value(com1), parser.value(com2)};
    commandLine.setupFile = parser.value(setup);
    commandLine.batchArguments = parser.positionalArguments().mid(1);
    if (parser.isSet(check))
        commandLine.action = CommandLine::Action::CheckSetup;
    else if (parser.isSet(ports))
        commandLine.action = CommandLine::Action::ListPorts;
    else if (!parser.positionalArguments().isEmpty())
        commandLine.action = CommandLine::Action::RunBatch;
    else
        commandLine.action = CommandLine::Action::OpenWindow;
    return commandLine;
}

} // namespace pwm20
