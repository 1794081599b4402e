#include "about/frmabout.h"

#include "appinfo.h"
#include "shared/dialogfont.h"
#include "shared/dialogs.h"
#include "shared/programicon.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

void makeTextBlack(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text,
                        const QRect &geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

QWidget *makeLine(QWidget *parent, const QColor &color, const QRect &geometry)
{
    auto *line = new QWidget(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, color);
    line->setPalette(palette);
    return line;
}

} // namespace

frmAbout::frmAbout(Dialogs &dialogs, const sysinfo::Platform &platform)
    : dialogs_(dialogs), platform_(platform)
{
    setObjectName(QStringLiteral("frmAbout"));
    // A fixed dialog frame with a close button only; without the system menu
    // the title bar shows no icon either.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(382, 237);
    setFont(dialogFont());
    createControls();

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfoClick);
}

// Created in tab order, so Tab moves from cmdOK to cmdSysInfo; the picture and
// the labels take no focus.
void frmAbout::createControls()
{
    cmdOK = makeButton(this, QStringLiteral("cmdOK"), QStringLiteral("OK"), {283, 175, 84, 23});
    cmdOK->setDefault(true);

    picIcon = makeLabel(this, QStringLiteral("picIcon"), QString(), {16, 16, 36, 36});
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setLineWidth(2);
    picIcon->setPixmap(programIcon().pixmap(32, 32));

    cmdSysInfo = makeButton(this, QStringLiteral("cmdSysInfo"), QStringLiteral("&System Info..."),
                            {284, 205, 83, 23});

    lblDescription = makeLabel(this, QStringLiteral("lblDescription"),
                               QStringLiteral("Tomsk, 2024"), {70, 75, 259, 78});
    makeTextBlack(lblDescription);
    lblDisclaimer = makeLabel(this, QStringLiteral("lblDisclaimer"), QStringLiteral("Warning: ..."),
                              {17, 175, 258, 55});
    makeTextBlack(lblDisclaimer);
    lblTitle = makeLabel(this, QStringLiteral("lblTitle"), QStringLiteral("Application Title"),
                         {70, 16, 259, 32});
    makeTextBlack(lblTitle);
    lblVersion =
        makeLabel(this, QStringLiteral("lblVersion"), QStringLiteral("Version"), {70, 52, 259, 15});

    // An etched separator: a grey line with a white one just below it. The
    // window owns them, and nothing changes them.
    makeLine(this, QColor(128, 128, 128), {6, 163, 371, 1});
    makeLine(this, Qt::white, {7, 164, 370, 2});
}

void frmAbout::showModal()
{
    load();
    exec();
}

// Runs on every opening, so nothing is kept from the last one.
void frmAbout::load()
{
    // The texts are black, on the light face the window was designed with: on
    // a dark desktop palette the window takes the style's light one.
    const QPalette desktop = QApplication::palette();
    const bool dark = desktop.color(QPalette::Window).lightness() <
                      desktop.color(QPalette::WindowText).lightness();
    setPalette(dark ? style()->standardPalette() : QPalette());
    setWindowTitle(QStringLiteral("About ") + AppInfo::title());
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(AppInfo::Major)
                            .arg(AppInfo::Minor)
                            .arg(AppInfo::Revision));
    lblTitle->setText(AppInfo::title());
    cmdOK->setFocus();
}

void frmAbout::cmdSysInfoClick()
{
    if (!sysinfo::StartSysInfo(platform_))
        dialogs_.messageBox(this, QStringLiteral("System Information Is Unavailable At This Time"),
                            MsgBox::OkOnly, AppInfo::title());
}
