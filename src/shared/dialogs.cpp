#include "shared/dialogs.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
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

// Qt's own file dialog, which takes a name typed without an extension as
// typed. It takes the name in its name box as the one file meant, where Qt
// would read parts in double quotes as a list of names, and asks its
// questions through the program's boxes.
class FileDialog : public QFileDialog
{
public:
    FileDialog(Dialogs &boxes, QWidget *parent, const FileDialogRequest &request)
        : QFileDialog(parent), boxes_(boxes), flags_(request.flags)
    {
        // "description|pattern" becomes Qt's "description (pattern)", of
        // which only the description is shown.
        const QStringList parts = request.filter.split(QLatin1Char('|'));
        setNameFilter(parts.size() == 2
                          ? parts[0] + QStringLiteral(" (") + parts[1] + QLatin1Char(')')
                          : request.filter);
        setOptions(DontUseNativeDialog | HideNameFilterDetails | DontConfirmOverwrite);
        setFileMode(AnyFile);
        setAcceptMode(request.mode == FileDialogRequest::Mode::Open ? AcceptOpen : AcceptSave);
    }

    QString chosen() const { return chosen_; }

    void accept() override
    {
        const QString path = typedPath();
        if (path.isEmpty())
            return;
        const QFileInfo file(path);
        if (file.isDir()) {
            setDirectory(path);
            nameBox()->clear();
            return;
        }
        // A name with a wildcard is a pattern for the list, as on Windows.
        if (const QString pattern = file.fileName();
            pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?'))) {
            setDirectory(file.absolutePath());
            findChild<QFileSystemModel *>()->setNameFilters({pattern});
            nameBox()->setText(pattern);
            return;
        }
        const QString name = QDir::toNativeSeparators(path);
        if ((flags_ & FileDialogFlags::FileMustExist) && !file.exists()) {
            boxes_.messageBox(
                this, QStringLiteral("Файл «%1» не найден.\nПроверьте имя файла.").arg(name),
                MsgBox::Exclamation, windowTitle());
            return;
        }
        // What is saved is added at the end of an existing file.
        if ((flags_ & FileDialogFlags::OverwritePrompt) && file.exists() &&
            boxes_.messageBox(this,
                              QStringLiteral("Файл «%1» уже существует.\n"
                                             "Дописать результат в конец файла?")
                                  .arg(name),
                              MsgBox::YesNo, windowTitle()) != MsgBox::Yes)
            return;
        chosen_ = path;
        done(Accepted); // not Qt's accept(), which would read the name again
    }

private:
    QLineEdit *nameBox() const { return findChild<QLineEdit *>(QStringLiteral("fileNameEdit")); }

    // The name in the name box, in the folder shown; "~" is the home folder,
    // as in a shell. Without a name, what is chosen in the list.
    QString typedPath() const
    {
        QString typed = nameBox()->text();
        if (typed.isEmpty())
            return selectedFiles().value(0);
        if (typed == QLatin1Char('~') || typed.startsWith(QStringLiteral("~/")))
            typed.replace(0, 1, QDir::homePath());
        return QDir::cleanPath(directory().absoluteFilePath(typed));
    }

    Dialogs &boxes_;
    int flags_;
    QString chosen_;
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
    FileDialog dialog(*this, parent, request);
    return dialog.exec() == QDialog::Accepted ? dialog.chosen() : QString();
}

void Dialogs::endProgram()
{
    QCoreApplication::exit(0);
}
