#include "shared/dialogs.h"

#include "shared/filedialog.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>

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
