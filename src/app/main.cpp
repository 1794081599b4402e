#include "mainwindow/form1.h"
#include "mainwindow/rundisplay.h"
#include "shared/dialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    sendWindowPixelsOverTheConnection();
    QApplication app(argc, argv);
    installQtRussianTranslation(app);

    Dialogs dialogs;
    Form1 form(dialogs);
    form.show();
    // "Open with": a file named on the command line is opened at once.
    if (const QStringList arguments = QApplication::arguments(); arguments.size() > 1)
        form.openFile(arguments.at(1));
    return QApplication::exec();
}
