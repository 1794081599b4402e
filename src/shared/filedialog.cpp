#include "shared/filedialog.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>

FileDialog::FileDialog(Dialogs &boxes, QWidget *parent, const FileDialogRequest &request)
    : QFileDialog(parent), boxes_(boxes), flags_(request.flags)
{
    // "description|pattern" becomes Qt's "description (pattern)", of
    // which only the description is shown.
    const QStringList parts = request.filter.split(QLatin1Char('|'));
    setNameFilter(parts.size() == 2 ? parts[0] + QStringLiteral(" (") + parts[1] + QLatin1Char(')')
                                    : request.filter);
    setOptions(DontUseNativeDialog | HideNameFilterDetails | DontConfirmOverwrite);
    setAcceptMode(request.mode == FileDialogRequest::Mode::Open ? AcceptOpen : AcceptSave);
}

void FileDialog::accept()
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
        boxes_.messageBox(this,
                          QStringLiteral("Файл «%1» не найден.\nПроверьте имя файла.").arg(name),
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

QLineEdit *FileDialog::nameBox() const
{
    return findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
}

QString FileDialog::typedPath() const
{
    QString typed = nameBox()->text();
    if (typed.isEmpty())
        return selectedFiles().value(0);
    if (typed == QLatin1Char('~') || typed.startsWith(QStringLiteral("~/")))
        typed.replace(0, 1, QDir::homePath());
    return QDir::cleanPath(directory().absoluteFilePath(typed));
}
