#include "appinfo.h"
#include "mainwindow/form1.h"
#include "mainwindow/rundisplay.h"
#include "shared/dialogs.h"
#include "shared/translation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <optional>

namespace {

// Exit status for a command line the program does not take, as in the
// platform's own tools.
constexpr int UsageError = 2;

int report(FILE *stream, const QString &text, int status)
{
    QTextStream(stream) << text << Qt::endl;
    return status;
}

// Reads the command line into *file, the text file to open at start if one is
// named. Returns the exit status when the program ends here instead: after the
// help, the version, or a command line it does not take.
std::optional<int> readCommandLine(QString *file)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("%1 меняет в русском тексте согласные буквы парами (б↔щ, в↔ш, …):\n"
                       "одна и та же команда кодирует текст и декодирует его.")
            .arg(AppInfo::title()));
    parser.addPositionalArgument(
        QStringLiteral("файл"),
        QStringLiteral("Текстовый файл, который открыть при запуске. Имя, которое начинается "
                       "с «-», ставят после «--»."),
        QStringLiteral("[файл]"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Показать эту справку."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Показать название и версию программы."));
    parser.addOptions({help, version});

    const QString program = QCoreApplication::applicationName();
    const QString seeHelp = QStringLiteral("\nСправка: %1 --help").arg(program);
    if (!parser.parse(QCoreApplication::arguments()))
        return report(stderr, program + QStringLiteral(": ") + parser.errorText() + seeHelp,
                      UsageError);
    if (parser.isSet(help))
        return report(stdout, parser.helpText().trimmed(), 0);
    if (parser.isSet(version))
        return report(stdout,
                      QStringLiteral("%1 %2.%3.%4")
                          .arg(AppInfo::title())
                          .arg(AppInfo::Major)
                          .arg(AppInfo::Minor)
                          .arg(AppInfo::Revision),
                      0);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return report(stderr,
                      QStringLiteral("%1: открывается один файл, а названо %2.")
                              .arg(program)
                              .arg(files.size()) +
                          seeHelp,
                      UsageError);
    *file = files.value(0);
    return std::nullopt;
}

// Opens the file named at start once the main window is on screen, so that a
// box saying it could not be opened appears over the window.
class OpenWhenShown : public QObject
{
public:
    OpenWhenShown(Form1 &form, QString path) : QObject(&form), form_(form), path_(std::move(path))
    {
        form.windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *window, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && qobject_cast<QWindow *>(window)->isExposed()) {
            window->removeEventFilter(this);
            // Queued, so that the window paints itself before a box can cover it.
            QTimer::singleShot(0, this, [this] {
                form_.openFile(path_);
                deleteLater();
            });
        }
        return false;
    }

private:
    Form1 &form_;
    QString path_;
};

} // namespace

int main(int argc, char *argv[])
{
    QString file;
    {
        // The help, the version and mistakes on the command line need no display.
        QCoreApplication reader(argc, argv);
        installQtRussianTranslation(reader);
        if (const std::optional<int> status = readCommandLine(&file))
            return *status;
    }

    sendWindowPixelsOverTheConnection();
    QApplication app(argc, argv);
    installQtRussianTranslation(app);

    Dialogs dialogs;
    Form1 form(dialogs);
    form.show();
    // "Open with": a file named on the command line is opened at start.
    if (!file.isEmpty())
        new OpenWhenShown(form, file);
    return QApplication::exec();
}
