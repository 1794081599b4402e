#include "app/commandline.h"
#include "app/swapfilter.h"
#include "mainwindow/form1.h"
#include "mainwindow/rundisplay.h"
#include "shared/dialogs.h"
#include "shared/translation.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>

namespace {

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
    useConsoleOfParent();
    CommandLine commandLine;
    {
        // The help, the version, mistakes on the command line and the filter
        // need no display.
        QCoreApplication reader(argc, argv);
        installQtRussianTranslation(reader);
        commandLine = readCommandLine(QCoreApplication::arguments());
        if (commandLine.mode == CommandLine::Mode::Swap)
            commandLine.reply = swapFilter(commandLine.file, commandLine.program);
    }
    if (commandLine.mode != CommandLine::Mode::Window)
        return tell(commandLine.reply, commandLine.program, argv);

    sendWindowPixelsOverTheConnection();
    showWindowThroughXWaylandWhereOffered();
    adviseWhenNoDisplay(commandLine);
    // The arguments are the user's: Qt takes none of them for its options.
    int programNameOnly = 1;
    QApplication app(programNameOnly, argv);
    qInstallMessageHandler(nullptr);
    installQtRussianTranslation(app);

    Dialogs dialogs;
    Form1 form(dialogs);
    form.show();
    // "Open with": a file named on the command line is opened at start.
    if (!commandLine.file.isEmpty())
        new OpenWhenShown(form, commandLine.file);
    return QApplication::exec();
}
