#include "mainwindow/form1.h"

#include "about/frmabout.h"
#include "appinfo.h"
#include "mainwindow/rundisplay.h"
#include "shared/dialogfont.h"
#include "shared/dialogs.h"
#include "shared/programicon.h"
#include "textfiles/textencoding.h"
#include "textfiles/textfile.h"
#include "widgets/countingstatusbar.h"
#include "widgets/picturebutton.h"
#include "widgets/textbox.h"

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

namespace {

const QString Title = AppInfo::title();
const QString SizeCaption = QStringLiteral("Размер текста в символах:");
const QString StatusCaption = QStringLiteral("Длина обработанного участка:");
// Window units are twips, 15 to a pixel at 96 dots per inch; Qt scales
// logical pixels for other densities.
constexpr int px(int twips)
{
    return twips / 15;
}

QRect twipRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

Form1::Form1(Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      dialogs_(dialogs), Com(dialogs, this)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Title);
    setWindowIcon(programIcon());
    createControls();
    nameForScreenReaders();
    createMenus();
    setTabOrder();
    connectCommands();
    display_ = std::make_unique<RunDisplay>(
        RunDisplay::Controls{this, T1, T2, L, Pr, Bar, Knop, MnKod}, dialogs_);
    Knop->setFocus();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    auto *client = named(new QWidget(this), "client");
    client->setFont(dialogFont());
    client->setFixedSize(px(8535), px(6975));
    setCentralWidget(client);
    // The window keeps the client's size: it can be minimized but not resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Line1 = named(new QFrame(client), "Line1");
    Line1->setFrameStyle(QFrame::HLine | QFrame::Plain);
    Line1->setGeometry(0, 0, px(8520), 1);

    Label1 = named(new QLabel(QStringLiteral("Оригинал"), client), "Label1");
    Label1->move(px(1785), px(120));
    Label1->adjustSize();
    Label2 = named(new QLabel(QStringLiteral("Обработанный текст"), client), "Label2");
    Label2->move(px(5445), px(120));
    Label2->adjustSize();

    T1 = named(new TextBox(client), "T1");
    T1->setGeometry(twipRect(0, 360, 4215, 3735));
    T2 = named(new TextBox(client), "T2");
    T2->setGeometry(twipRect(4200, 360, 4335, 3735));

    Command2 = named(new QPushButton(QStringLiteral("Открыть"), client), "Command2");
    Command2->setGeometry(twipRect(240, 4440, 1335, 375));
    Knop = named(new QPushButton(QStringLiteral("Кодировать/ Декодировать"), client), "Knop");
    Knop->setGeometry(twipRect(1680, 4440, 2295, 375));
    Command1 = named(new QPushButton(QStringLiteral("Сохранить"), client), "Command1");
    Command1->setGeometry(twipRect(240, 4920, 1335, 375));

    L = named(new QLabel(SizeCaption, client), "L");
    QFont bold = dialogFont();
    bold.setWeight(QFont::Bold);
    L->setFont(bold);
    L->move(px(3015), px(5280));
    L->adjustSize();

    Command3 = named(new PictureButton(QPixmap(QStringLiteral(":/stop.bmp")), client), "Command3");
    Command3->setGeometry(twipRect(240, 5400, 1335, 375));

    Pr = named(new QProgressBar(client), "Pr");
    Pr->setGeometry(twipRect(240, 5880, 8055, 375));
    Pr->setRange(0, 65535);
    Pr->setValue(0);
    Pr->setTextVisible(false);

    StatusBar1 = named(new QStatusBar(client), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(twipRect(0, 6585, 8535, 30));
    Bar = named(new CountingStatusBar(client), "Bar");
    Bar->setSizeGripEnabled(false);
    Bar->setMinimumSize(0, 0);
    Bar->setGeometry(twipRect(0, 6615, 8535, 360));
    Bar->showMessage(StatusCaption);

    // No button is the window's default, so Enter in a text box makes a line
    // break; Enter on a focused button presses it all the same (eventFilter).
    for (QPushButton *button : {Command2, Knop, Command1, static_cast<QPushButton *>(Command3)}) {
        button->setAutoDefault(false);
        button->installEventFilter(this);
    }
    // A file dropped anywhere on the window opens (takeFileDrop); the boxes
    // would take its address for text. What no control takes comes to the window.
    setAcceptDrops(true);
    for (QWidget *target : {static_cast<QWidget *>(this), T1->viewport(), T2->viewport()})
        target->installEventFilter(this);
}

// What a screen reader says for controls whose caption does not tell it.
void Form1::nameForScreenReaders()
{
    Label1->setBuddy(T1);
    T1->setAccessibleName(Label1->text());
    Label2->setBuddy(T2);
    T2->setAccessibleName(Label2->text());
    Command3->setAccessibleName(QStringLiteral("Остановить"));
    Command3->setAccessibleDescription(QStringLiteral("Прерывает обработку текста"));
    Pr->setAccessibleName(QStringLiteral("Ход обработки"));
    // The thin strip over Bar only draws a line.
    StatusBar1->setAccessibleName(QStringLiteral("Разделитель"));
}

void Form1::createMenus()
{
    mnF = named(menuBar()->addMenu(QStringLiteral("Файл")), "mnF");
    MnOpen = named(mnF->addAction(QStringLiteral("Открыть")), "MnOpen");
    MnSave = named(mnF->addAction(QStringLiteral("Сохранить")), "MnSave");
    MnKod = named(mnF->addAction(QStringLiteral("Кодировать/Декодировать")), "MnKod");
    MnStp = named(mnF->addAction(QStringLiteral("Остановить")), "MnStp");
    MnExit = named(mnF->addAction(QStringLiteral("Выход")), "MnExit");
    mnuHelp = named(menuBar()->addMenu(QStringLiteral("Справка")), "mnuHelp");
    mnuAbout = named(mnuHelp->addAction(QStringLiteral("О программе")), "mnuAbout");
}

void Form1::setTabOrder()
{
    const QList<QWidget *> order = {Knop, Command1, Command2, Command3, T1, T2};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

// A menu item that duplicates a button calls the button's handler and nothing else.
void Form1::connectCommands()
{
    connect(Knop, &QPushButton::clicked, this, &Form1::knopClick);
    connect(MnKod, &QAction::triggered, this, &Form1::knopClick);
    connect(Command3, &QPushButton::clicked, this, &Form1::command3Click);
    connect(MnStp, &QAction::triggered, this, &Form1::command3Click);
    connect(MnExit, &QAction::triggered, this, &Form1::mnExitClick);
    connect(Command2, &QPushButton::clicked, this, &Form1::command2Click);
    connect(MnOpen, &QAction::triggered, this, &Form1::command2Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::command1Click);
    connect(MnSave, &QAction::triggered, this, &Form1::command1Click);
    connect(mnuAbout, &QAction::triggered, this, &Form1::mnuAboutClick);
}

// Enter or Return on a focused button presses it, as Space does.
bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (auto *button = qobject_cast<QPushButton *>(watched);
        button && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            button->click();
            return true;
        }
    }
    return takeFileDrop(event) || QMainWindow::eventFilter(watched, event);
}

// A drag from a file manager carries the files' addresses, often with their
// text; dropped, the file opens as Открыть opens it. Text alone is left to
// the box it is dropped on.
bool Form1::takeFileDrop(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const QList<QUrl> urls = drop->mimeData()->urls();
    if (urls.isEmpty())
        return false;
    // Copied, never moved: a file manager removes what it has moved.
    drop->setDropAction(Qt::CopyAction);
    drop->setAccepted(drop->possibleActions().testFlag(Qt::CopyAction));
    // Once the drop is over, so that the file manager is not held while a box is up.
    if (type == QEvent::Drop && drop->isAccepted())
        QMetaObject::invokeMethod(
            this, [this, urls] { openDropped(urls); }, Qt::QueuedConnection);
    return true;
}

// A run is in progress exactly while Knop is disabled.
bool Form1::busy() const
{
    return !Knop->isEnabled();
}

void Form1::knopClick()
{
    ProcessingRun(*display_, {RunFlag, CurrentChar, AnswerText}, Title);
}

void Form1::command3Click()
{
    if (!busy())
        return;
    if (ask(QStringLiteral("Вы уверены, что хотите остановить процесс?!")) == MsgBox::Yes) {
        RunFlag = False;
        Pr->setValue(0);
    }
}

void Form1::mnExitClick()
{
    if (!busy() || ask(QStringLiteral("Вы в процессе обработки! Хотите выйти?!")) == MsgBox::Yes)
        endProgram();
}

// The close goes ahead unless the user answers No during a run.
void Form1::closeEvent(QCloseEvent *event)
{
    if (!busy())
        return;
    if (ask(QStringLiteral("Вы в процессе обработки! Хотите выйти?!")) == MsgBox::No)
        event->ignore();
    else
        endProgram();
}

void Form1::command2Click()
{
    Com.Flags = FileDialogFlags::FileMustExist | FileDialogFlags::HideReadOnly;
    if (const QString path = Com.ShowOpen(); !path.isEmpty())
        openFile(path);
}

// Puts a text file into T1, read in the encoding it is in. A run in progress
// goes on over the new text.
void Form1::openFile(const QString &path)
{
    TextFile file(path);
    QByteArray bytes;
    if (!file.openForReading() || !file.readAll(&bytes)) {
        reportFileError(QStringLiteral("Не удалось открыть файл"), path, file.errorString());
        return;
    }
    T1->setText(decodeText(bytes));
}

// Opens the one file of a drop; more files, or an address of no file here, are
// named in a box.
void Form1::openDropped(const QList<QUrl> &urls)
{
    if (urls.size() > 1)
        message(QStringLiteral("Открывается один файл, а перетащено файлов: %1.").arg(urls.size()),
                MsgBox::Exclamation, Title);
    else if (!urls[0].isLocalFile())
        message(QStringLiteral("«%1» — не файл на этом компьютере.").arg(urls[0].toDisplayString()),
                MsgBox::Exclamation, Title);
    else
        openFile(urls[0].toLocalFile());
}

// Appends the result, as far as it has grown, and a line break to a text
// file, in the encoding the file is in when it is written to.
void Form1::command1Click()
{
    Com.Flags = FileDialogFlags::OverwritePrompt;
    const QString path = Com.ShowSave();
    if (path.isEmpty()) {
        message(QStringLiteral("Имя файла не задано!"), MsgBox::Exclamation,
                Title + QLatin1Char('!'));
        return;
    }
    // Characters Windows-1251 lacks are written as "?" only when the user
    // agrees. The file is not held open while the user is asked: another
    // program may replace it meanwhile, and it is read afresh after.
    TextFile file(path);
    const QString text = T2->text() + QStringLiteral("\r\n");
    for (bool agreed = false; file.openForAppending(); agreed = true) {
        qsizetype unrepresentable = 0;
        const QByteArray bytes = encodeText(text, file.encoding(), &unrepresentable);
        if (unrepresentable == 0 || agreed) {
            if (file.append(bytes))
                return;
            break;
        }
        file.close();
        if (ask(QStringLiteral("Символов, которых нет в кодировке Windows-1251: %1.\n"
                               "Они будут записаны как «?». Сохранить?")
                    .arg(unrepresentable)) != MsgBox::Yes)
            return;
    }
    reportFileError(QStringLiteral("Не удалось записать в файл"), path, file.errorString());
}

// Shows the About window modally; a run in progress waits until it is closed.
void Form1::mnuAboutClick()
{
    if (!about_)
        about_ = std::make_unique<frmAbout>(dialogs_);
    about_->showModal();
}

int Form1::message(const QString &text, int style, const QString &title)
{
    const int answer = dialogs_.messageBox(this, text, style, title);
    AnswerText = QString::number(answer);
    return answer;
}

int Form1::ask(const QString &question)
{
    return message(question, MsgBox::YesNo, Title);
}

void Form1::reportFileError(const QString &what, const QString &path, const QString &reason)
{
    message(what + QStringLiteral(" «") + QDir::toNativeSeparators(path) + QStringLiteral("»:\n") +
                reason,
            MsgBox::Exclamation, Title);
}

// Ends the program at once: no further handler runs, and a run in progress is
// abandoned at its next pump.
void Form1::endProgram()
{
    display_->endRun();
    hide();
    dialogs_.endProgram();
}
