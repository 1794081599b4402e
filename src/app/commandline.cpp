#include "app/commandline.h"

#include "appinfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdlib>

namespace {

// Exit status for a command line the program does not take, as in the
// platform's own tools.
constexpr int UsageError = 2;

QString helpText()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("%1 меняет в русском тексте согласные буквы парами (б↔щ, в↔ш, …):\n"
                       "одна и та же команда кодирует текст и декодирует его.")
            .arg(AppInfo::title()));
    parser.addPositionalArgument(
        QStringLiteral("файл"),
        QStringLiteral("Текстовый файл, который открыть при запуске, а с --swap — который "
                       "обработать (без него или «-» — стандартный ввод). Имя, которое "
                       "начинается с «-», ставят после «--»."),
        QStringLiteral("[файл]"));
    parser.addOptions(
        {{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Показать эту справку.")},
         {{QStringLiteral("v"), QStringLiteral("version")},
          QStringLiteral("Показать название и версию программы.")},
         {QStringLiteral("swap"),
          QStringLiteral("Без окна: вывести текст файла с согласными, заменёнными парами, в той "
                         "же кодировке.")}});
    return parser.helpText().trimmed();
}

QString versionText()
{
    return QStringLiteral("%1 %2.%3.%4")
        .arg(AppInfo::title())
        .arg(AppInfo::Major)
        .arg(AppInfo::Minor)
        .arg(AppInfo::Revision);
}

// Options are named as typed. A single one with one dash may be a file whose
// name starts with a dash.
QString unknownOptionsText(const QStringList &unknown, const CommandLine &commandLine, bool swap)
{
    const auto quoted = [](const QString &option) { return QStringLiteral("«%1»").arg(option); };
    if (unknown.size() > 1) {
        QStringList names;
        for (const QString &option : unknown)
            names += quoted(option);
        return QStringLiteral("Неизвестные параметры: %1.").arg(names.join(QStringLiteral(", ")));
    }
    QString text = QStringLiteral("Неизвестный параметр %1.").arg(quoted(unknown[0]));
    if (commandLine.file.isEmpty() && !unknown[0].startsWith(QStringLiteral("--")))
        text += QStringLiteral("\nЧтобы открыть файл %1, напишите: %2 %3-- %4")
                    .arg(quoted(unknown[0]), commandLine.program,
                         swap ? QStringLiteral("--swap ") : QString(), unknown[0]);
    return text;
}

// The arguments as a command to copy into a shell, quoted where the shell
// would read them otherwise.
QString asShellCommand(QStringList arguments)
{
    static const QRegularExpression Plain(QStringLiteral("^[A-Za-z0-9_./:=+,@%-]+$"));
    for (QString &argument : arguments) {
        if (!Plain.match(argument).hasMatch())
            argument = QStringLiteral("'%1'").arg(
                argument.replace(QLatin1Char('\''), QStringLiteral("'\\''")));
    }
    return arguments.join(QLatin1Char(' '));
}

QString noDisplayText;
QtMessageHandler qtMessageHandler = nullptr;

// Qt's fatal message while it sets up the window's platform means there is no
// display; Qt's warnings before it say what it tried.
void endWithoutDisplay(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg)
        return qtMessageHandler(type, context, message);
    writeLine(stderr, noDisplayText);
    std::_Exit(1);
}

} // namespace

CommandLine readCommandLine(const QStringList &arguments)
{
    CommandLine commandLine;
    commandLine.arguments = arguments;
    commandLine.program = QCoreApplication::applicationName();
    bool help = false;
    bool version = false;
    bool swap = false;
    bool optionsEnded = false;
    QStringList files;
    QStringList unknown;
    for (const QString &argument : arguments.mid(1)) {
        if (optionsEnded || argument == u"-" || !argument.startsWith(u'-'))
            files += argument;
        else if (argument == u"--")
            optionsEnded = true;
        else if (argument == u"-h" || argument == u"--help")
            help = true;
        else if (argument == u"-v" || argument == u"--version")
            version = true;
        else if (argument == u"--swap")
            swap = true;
        else
            unknown += argument;
    }
    commandLine.file = files.value(0);

    const auto reply = [&](const QString &text, FILE *stream, int status) {
        commandLine.mode = CommandLine::Mode::Reply;
        commandLine.reply = {text, stream, status};
        return commandLine;
    };
    const auto mistake = [&](const QString &text) {
        return reply(QStringLiteral("%1: %2\nСправка: %1 --help").arg(commandLine.program, text),
                     stderr, UsageError);
    };
    if (!unknown.isEmpty())
        return mistake(unknownOptionsText(unknown, commandLine, swap));
    if (help)
        return reply(helpText(), stdout, 0);
    if (version)
        return reply(versionText(), stdout, 0);
    if (files.size() > 1)
        return mistake(QStringLiteral("открывается один файл, а названо %1.").arg(files.size()));
    commandLine.mode = swap ? CommandLine::Mode::Swap : CommandLine::Mode::Window;
    return commandLine;
}

void adviseWhenNoDisplay(const CommandLine &commandLine)
{
    const QString display =
        qEnvironmentVariable("DISPLAY", qEnvironmentVariable("WAYLAND_DISPLAY"));
    noDisplayText =
        QStringLiteral(
            "%1: не найден дисплей, на котором показать окно: %2.\n"
            "Чтобы увидеть окно, запустите программу в терминале рабочего стола или войдите\n"
            "с компьютера, у которого он есть, через «ssh -X» и запустите её там. Чтобы\n"
            "запустить её на виртуальном дисплее, где окна не видно (Ctrl+C завершает её):\n"
            "    xvfb-run -a %3")
            .arg(commandLine.program,
                 display.isEmpty()
                     ? QStringLiteral("не заданы ни DISPLAY, ни WAYLAND_DISPLAY")
                     : QStringLiteral("не удалось подключиться к дисплею «%1»").arg(display),
                 asShellCommand(commandLine.arguments));
    qtMessageHandler = qInstallMessageHandler(endWithoutDisplay);
}
