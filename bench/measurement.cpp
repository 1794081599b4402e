#include "measurement.h"

#include "mainwindow/form1.h"
#include "mainwindow/textbox.h"
#include "sampletext.h"
#include "shared/dialogs.h"
#include "transform/processingrun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <functional>

#include <sys/resource.h>

namespace {

constexpr qsizetype LineLength = 70;

// Answers every box with OK and notes when the completion notice comes.
class AnsweringDialogs : public Dialogs
{
public:
    std::function<void()> onNotice;

    int messageBox(QWidget *, const QString &, int, const QString &) override
    {
        if (onNotice)
            onNotice();
        return MsgBox::Ok;
    }
};

// Timestamps the event pumps before the first character of every tenth of a
// run, and the last pump. A posted event that posts itself again is delivered
// once per pump, so the program is timed without being changed.
class TenthsClock : public QObject
{
public:
    TenthsClock(qsizetype steps, const QElapsedTimer &clock)
        : steps_(steps), tenth_(steps / 10), clock_(clock)
    {
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }

    QList<qint64> marks; // nanoseconds on the clock
    qint64 lastPump = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (pumps_ % tenth_ == 0 && marks.size() < 10)
            marks.append(clock_.nsecsElapsed());
        if (++pumps_ < steps_)
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        else
            lastPump = clock_.nsecsElapsed();
        return true;
    }

private:
    qsizetype steps_;
    qsizetype tenth_;
    qsizetype pumps_ = 0;
    const QElapsedTimer &clock_;
};

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024.0 / 1e6; // ru_maxrss is in KiB
}

Timing timingOf(const TenthsClock &tenths, qsizetype steps)
{
    const double tenth = steps / 10.0;
    return {tenths.lastPump / 1e9, (tenths.marks[1] - tenths.marks[0]) / 1e3 / tenth,
            (tenths.lastPump - tenths.marks[9]) / 1e3 / (tenth - 1)};
}

// Steps through `steps` pumps, doing `step(i)` after each, as the run does.
Timing timeSteps(qsizetype steps, const std::function<void(qsizetype)> &step)
{
    QElapsedTimer clock;
    TenthsClock tenths(steps, clock);
    clock.start();
    for (qsizetype i = 1; i <= steps; ++i) {
        QCoreApplication::processEvents();
        step(i);
    }
    return timingOf(tenths, steps);
}

} // namespace

const QList<Case> &benchCases()
{
    static const QList<Case> cases = {
        {QStringLiteral("lines 10k"), 10'000, LineLength},
        {QStringLiteral("lines 100k"), 100'000, LineLength},
        {QStringLiteral("lines 1M"), 1'000'000, LineLength},
        {QStringLiteral("one line 20k"), 20'000, 0},
        {QStringLiteral("one line 100k"), 100'000, 0},
    };
    return cases;
}

Measurement measure(const Case &benchCase)
{
    AnsweringDialogs dialogs;
    Form1 form(dialogs);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the window was not shown");
    form.findChild<TextBox *>(QStringLiteral("T1"))
        ->setText(sampleText(benchCase.size, benchCase.lineLength));
    QCoreApplication::processEvents(); // the source is laid out and painted before timing

    const qsizetype n = benchCase.size;
    Measurement m;
    m.characters = n;
    m.pump = timeSteps(n, [](qsizetype) {});

    // Qt's plain status bar and progress bar over the window's own, driven
    // with Qt's plain calls.
    const auto control = [&form](const char *name) {
        return form.findChild<QWidget *>(QLatin1String(name));
    };
    {
        QStatusBar bar(control("client"));
        QProgressBar progress(control("client"));
        bar.setSizeGripEnabled(false);
        bar.setGeometry(control("Bar")->geometry());
        progress.setGeometry(control("Pr")->geometry());
        progress.setTextVisible(false);
        progress.setRange(0, int(n));
        bar.show();
        progress.show();
        QCoreApplication::processEvents();
        m.floor = timeSteps(n, [&](qsizetype i) {
            bar.showMessage(withCount(QStringLiteral("Длина обработанного участка:"), i));
            progress.setValue(int(i));
        });
    }
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    TenthsClock tenths(n, clock);
    qint64 end = 0;
    dialogs.onNotice = [&] { end = clock.nsecsElapsed(); };
    clock.start();
    form.findChild<QPushButton *>(QStringLiteral("Knop"))->click();
    m.run = timingOf(tenths, n);
    m.endMs = (end - tenths.lastPump) / 1e6;
    m.peakMB = peakMegabytes();
    return m;
}

QString Measurement::toLine() const
{
    QStringList fields{QString::number(characters)};
    for (const Timing *t : {&pump, &floor, &run})
        fields << QString::number(t->seconds, 'g', 9) << QString::number(t->firstTenthUs, 'g', 9)
               << QString::number(t->lastTenthUs, 'g', 9);
    fields << QString::number(endMs, 'g', 9) << QString::number(peakMB, 'g', 9);
    return fields.join(QLatin1Char(' '));
}

Measurement Measurement::fromLine(const QString &line)
{
    const QStringList f = line.split(QLatin1Char(' '));
    if (f.size() != 12)
        qFatal("malformed measurement: %s", qPrintable(line));
    auto timing = [&](int at) {
        return Timing{f[at].toDouble(), f[at + 1].toDouble(), f[at + 2].toDouble()};
    };
    return {f[0].toLongLong(), timing(1), timing(4), timing(7), f[10].toDouble(), f[11].toDouble()};
}
