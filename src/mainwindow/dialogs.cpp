#include "mainwindow/dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

void installQtRussianTranslation(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

int Dialogs::messageBox(QWidget *parent, const QString &text, int style, const QString &title)
{
    QMessageBox box(parent);
    box.setText(text);
    box.setWindowTitle(title);
    if (style == MsgBox::YesNo) {
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setIcon(style == MsgBox::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgBox::Yes;
    case QMessageBox::No:
        return MsgBox::No;
    default:
        // Esc or the close button on a Yes/No box counts as No, as on Windows.
        return style == MsgBox::YesNo ? MsgBox::No : MsgBox::Ok;
    }
}

QString Dialogs::fileName(QWidget *parent, const FileDialogRequest &request)
{
    // "description|pattern" becomes Qt's "description (pattern)".
    const QStringList parts = request.filter.split(QLatin1Char('|'));
    const QString filter = parts.size() == 2
                               ? parts[0] + QStringLiteral(" (") + parts[1] + QLatin1Char(')')
                               : request.filter;

    // Qt's own dialog takes a name typed without an extension as typed.
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(QString());
    if (request.mode == FileDialogRequest::Mode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((request.flags & FileDialogFlags::FileMustExist)
                               ? QFileDialog::ExistingFile
                               : QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite,
                         !(request.flags & FileDialogFlags::OverwritePrompt));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void Dialogs::endProgram()
{
    QCoreApplication::exit(0);
}
