#include "mainwindow/form1.h"

#include "about/frmabout.h"
#include "appinfo.h"
#include "mainwindow/cp1251.h"
#include "mainwindow/dialogs.h"
#include "mainwindow/picturebutton.h"
#include "mainwindow/programicon.h"
#include "mainwindow/textbox.h"
#include "mainwindow/textfile.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace {

const QString Title = AppInfo::title();
const QString SizeCaption = QStringLiteral("Размер текста в символах:");
const QString StatusCaption = QStringLiteral("Длина обработанного участка:");
// Bringing the widgets up to date costs more as the result's last line grows,
// since the whole line is laid out again. A costly frame comes that much later,
// so that drawing never takes more than about one part in RunPerFrame of a run.
constexpr qint64 RunPerFrame = 8;

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

QFont dialogFont()
{
    QFont font;
#ifdef Q_OS_WIN
    // There "MS Sans Serif" is a bitmap font that Qt draws at 9.75 points, too
    // wide for the buttons; its TrueType twin and Tahoma scale to 8.25.
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma")});
#else
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
#endif
    font.setPointSizeF(8.25);
    return font;
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
    createMenus();
    setTabOrder();
    connectCommands();
    Knop->setFocus();
    frameClock_.start();
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
    sizeCaption_ = SizeCaption;

    Command3 = named(new PictureButton(QPixmap(QStringLiteral(":/stop.bmp")), client), "Command3");
    Command3->setGeometry(twipRect(240, 5400, 1335, 375));

    Pr = named(new QProgressBar(client), "Pr");
    Pr->setGeometry(twipRect(240, 5880, 8055, 375));
    Pr->setRange(0, int(progressMaximum_));
    Pr->setValue(0);
    Pr->setTextVisible(false);

    StatusBar1 = named(new QStatusBar(client), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setMinimumSize(0, 0);
    StatusBar1->setGeometry(twipRect(0, 6585, 8535, 30));
    Bar = named(new QStatusBar(client), "Bar");
    Bar->setSizeGripEnabled(false);
    Bar->setMinimumSize(0, 0);
    Bar->setGeometry(twipRect(0, 6615, 8535, 360));
    Bar->showMessage(StatusCaption);
    statusText_ = StatusCaption;

    for (QPushButton *button : {Command2, Knop, Command1, static_cast<QPushButton *>(Command3)})
        button->setAutoDefault(false);
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

// A run is in progress exactly while Knop is disabled.
bool Form1::busy() const
{
    return !Knop->isEnabled();
}

void Form1::knopClick()
{
    ProcessingRun(*this, {RunFlag, CurrentChar, AnswerText});
}

void Form1::command3Click()
{
    if (!busy())
        return;
    if (ask(QStringLiteral("Вы уверены, что хотите остановить процесс?!")) == MsgBox::Yes) {
        RunFlag = False;
        setProgressValue(0);
    }
}

void Form1::mnExitClick()
{
    if (!busy() || ask(QStringLiteral("Вы в процессе обработки! Хотите выйти?!")) == MsgBox::Yes)
        endProgram();
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (!busy()) {
        event->accept();
        return;
    }
    if (ask(QStringLiteral("Вы в процессе обработки! Хотите выйти?!")) == MsgBox::No) {
        event->ignore();
        return;
    }
    event->accept();
    endProgram();
}

// Opens a Windows-1251 text file into T1. A run in progress goes on over
// the new text.
void Form1::command2Click()
{
    Com.Flags = FileDialogFlags::FileMustExist | FileDialogFlags::HideReadOnly;
    showState();
    Com.ShowOpen();
    if (Com.FileName.isEmpty())
        return;
    FileNumber = FreeFile();
    TextFile file(FileNumber, Com.FileName);
    QByteArray bytes;
    if (!file.openForReading() || !file.readAll(&bytes)) {
        reportFileError(QStringLiteral("Не удалось открыть файл"), Com.FileName,
                        file.errorString());
        return;
    }
    T1->setText(decodeCp1251(bytes));
}

// Appends the result, as far as it has grown, and a line break to a
// Windows-1251 text file.
void Form1::command1Click()
{
    Com.Flags = FileDialogFlags::OverwritePrompt;
    showState();
    Com.ShowSave();
    FileNumber = FreeFile();
    if (Com.FileName.isEmpty()) {
        message(QStringLiteral("Имя файла не задано!"), MsgBox::Exclamation,
                Title + QLatin1Char('!'));
        return;
    }
    qsizetype unrepresentable = 0;
    const QByteArray bytes = encodeCp1251(T2->text(), &unrepresentable);
    if (unrepresentable > 0 &&
        ask(QStringLiteral("Символов, которых нет в кодировке Windows-1251: %1.\n"
                           "Они будут записаны как «?». Сохранить?")
                .arg(unrepresentable)) != MsgBox::Yes)
        return;
    TextFile file(FileNumber, Com.FileName);
    if (!file.openForAppending() || !file.appendLine(bytes))
        reportFileError(QStringLiteral("Не удалось записать в файл"), Com.FileName,
                        file.errorString());
}

// Shows the About window modally; a run in progress waits until it is closed.
void Form1::mnuAboutClick()
{
    if (!about_)
        about_ = std::make_unique<frmAbout>(dialogs_);
    showState();
    about_->showModal();
}

int Form1::message(const QString &text, int style, const QString &title)
{
    const int answer = showNotice(text, style, title);
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
    ended_ = true;
    hide();
    dialogs_.endProgram();
}

// Brings the widgets up to date with what the run has set.
void Form1::showState()
{
    QElapsedTimer cost;
    cost.start();
    T2->showPending();
    if (L->text() != sizeCaption_) {
        L->setText(sizeCaption_);
        L->adjustSize();
    }
    if (Bar->currentMessage() != statusText_)
        Bar->showMessage(statusText_);
    Pr->setMaximum(int(progressMaximum_));
    Pr->setValue(int(progressValue_));
    frameMs_ = std::max(FrameMs, RunPerFrame * cost.elapsed());
    frameClock_.restart();
}

const QString &Form1::sourceText() const
{
    return T1->text();
}

const QString &Form1::resultText() const
{
    return T2->text();
}

void Form1::clearResult()
{
    T2->clearText();
}

void Form1::appendResult(const QString &text)
{
    T2->appendText(text);
}

void Form1::setBoxesLocked(bool locked)
{
    T1->setLocked(locked);
    T2->setLocked(locked);
}

void Form1::setSizeCaption(const QString &caption)
{
    sizeCaption_ = caption;
}

void Form1::setProgressMaximum(float maximum)
{
    progressMaximum_ = maximum;
}

void Form1::setProgressValue(float value)
{
    progressValue_ = value;
}

void Form1::setStatusText(const QString &text)
{
    statusText_ = text;
}

void Form1::setCommandEnabled(bool enabled)
{
    Knop->setEnabled(enabled);
    MnKod->setEnabled(enabled);
}

int Form1::showNotice(const QString &text, int style, const QString &title)
{
    showState(); // the box is shown over the texts as they stand
    return dialogs_.messageBox(this, text, style, title);
}

bool Form1::pumpEvents()
{
    if (!framePacing_ || frameClock_.hasExpired(frameMs_))
        showState();
    QCoreApplication::processEvents();
    return !ended_;
}
