#include "mainwindow/form1.h"
#include "shared/dialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installQtRussianTranslation(app);

    Dialogs dialogs;
    Form1 form(dialogs);
    form.show();
    return QApplication::exec();
}
