#include "shared/dialogs.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

namespace {

// A message box that copies its title, text and buttons to the clipboard on
// Ctrl+C, in the layout Windows uses, so a user can paste what it said.
class CopyableMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!event->matches(QKeySequence::Copy)) {
            QMessageBox::keyPressEvent(event);
            return;
        }
        const QString separator = QStringLiteral("---------------------------\n");
        QString buttonTexts;
        for (const QAbstractButton *button : buttons())
            buttonTexts += button->text().remove(QLatin1Char('&')) + QStringLiteral("   ");
        QGuiApplication::clipboard()->setText(separator + windowTitle() + QLatin1Char('\n') +
                                              separator + text() + QLatin1Char('\n') + separator +
                                              buttonTexts + QLatin1Char('\n') + separator);
    }
};

} // namespace

void installQtRussianTranslation(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

int Dialogs::messageBox(QWidget *parent, const QString &text, int style, const QString &title)
{
    CopyableMessageBox box(parent);
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
