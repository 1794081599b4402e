#include "measurement.h"

#include "mainwindow/dialogs.h"
#include "mainwindow/form1.h"
#include "mainwindow/textbox.h"
#include "sampletext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
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

// The cost of one pump with nothing to do but deliver the timing event the
// run carries as well.
double floorMicroseconds(qsizetype steps)
{
    QElapsedTimer clock;
    TenthsClock tenths(steps, clock);
    clock.start();
    for (qsizetype i = 0; i < steps; ++i)
        QCoreApplication::processEvents();
    return clock.nsecsElapsed() / 1e3 / steps;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024.0 / 1e6; // ru_maxrss is in KiB
}

} // namespace

const QList<Case> &benchCases()
{
    static const QList<Case> cases = {
        {QStringLiteral("lines 10k"), 10'000, LineLength, false},
        {QStringLiteral("lines 100k"), 100'000, LineLength, false},
        {QStringLiteral("lines 1M"), 1'000'000, LineLength, false},
        {QStringLiteral("one line 20k"), 20'000, 0, false},
        {QStringLiteral("one line 100k"), 100'000, 0, false},
        {QStringLiteral("literal lines 10k"), 10'000, LineLength, true},
        {QStringLiteral("literal lines 100k"), 100'000, LineLength, true},
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

    Measurement m;
    m.characters = benchCase.size;
    m.floorUs = floorMicroseconds(benchCase.size);

    QElapsedTimer clock;
    TenthsClock tenths(benchCase.size, clock);
    qint64 end = 0;
    dialogs.onNotice = [&] { end = clock.nsecsElapsed(); };
    clock.start();
    form.findChild<QPushButton *>(QStringLiteral("Knop"))->click();

    const double tenth = benchCase.size / 10.0;
    m.seconds = end / 1e9;
    m.firstTenthUs = (tenths.marks[1] - tenths.marks[0]) / 1e3 / tenth;
    m.lastTenthUs = (tenths.lastPump - tenths.marks[9]) / 1e3 / (tenth - 1);
    m.endMs = (end - tenths.lastPump) / 1e6;
    m.peakMB = peakMegabytes();
    return m;
}

QString Measurement::toLine() const
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
        .arg(characters)
        .arg(seconds, 0, 'g', 9)
        .arg(firstTenthUs, 0, 'g', 9)
        .arg(lastTenthUs, 0, 'g', 9)
        .arg(endMs, 0, 'g', 9)
        .arg(floorUs, 0, 'g', 9)
        .arg(peakMB, 0, 'g', 9);
}

Measurement Measurement::fromLine(const QString &line)
{
    const QStringList f = line.split(QLatin1Char(' '));
    if (f.size() != 7)
        qFatal("malformed measurement: %s", qPrintable(line));
    return {f[0].toLongLong(), f[1].toDouble(), f[2].toDouble(), f[3].toDouble(),
            f[4].toDouble(),   f[5].toDouble(), f[6].toDouble()};
}
