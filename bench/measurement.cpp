#include "measurement.h"

#include "mainwindow/form1.h"
#include "sampletext.h"
#include "shared/dialogs.h"
#include "transform/processingrun.h"
#include "widgets/textbox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
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

namespace {

void showWithText(Form1 &form, const Case &benchCase)
{
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the window was not shown");
    form.findChild<TextBox *>(QStringLiteral("T1"))
        ->setText(sampleText(benchCase.size, benchCase.lineLength));
    QCoreApplication::processEvents(); // the source is laid out and painted before timing
}

// The real run from the click on Knop; `end` gets the time of its completion notice.
Timing timeRun(Form1 &form, AnsweringDialogs &dialogs, qsizetype steps, double *endMs)
{
    QElapsedTimer clock;
    TenthsClock tenths(steps, clock);
    qint64 end = 0;
    dialogs.onNotice = [&] { end = clock.nsecsElapsed(); };
    clock.start();
    form.findChild<QPushButton *>(QStringLiteral("Knop"))->click();
    *endMs = (end - tenths.lastPump) / 1e6;
    return timingOf(tenths, steps);
}

// Microseconds per call of `what`, over `times` calls.
double microsecondsEach(int times, const std::function<void()> &what)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < times; ++i)
        what();
    return clock.nsecsElapsed() / 1e3 / times;
}

} // namespace

Measurement measure(const Case &benchCase, bool runOnly)
{
    AnsweringDialogs dialogs;
    Form1 form(dialogs);
    showWithText(form, benchCase);
    const qsizetype n = benchCase.size;
    Measurement m;
    m.characters = n;
    if (runOnly) {
        m.run = timeRun(form, dialogs, n, &m.endMs);
        m.peakMB = peakMegabytes();
        return m;
    }
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
    m.run = timeRun(form, dialogs, n, &m.endMs);
    m.peakMB = peakMegabytes();
    return m;
}

PixelCosts measurePixels()
{
    AnsweringDialogs dialogs;
    Form1 form(dialogs);
    const Case text{QString(), 20'000, LineLength};
    showWithText(form, text);
    PixelCosts costs;
    double endMs = 0;
    costs.step = timeRun(form, dialogs, text.size, &endMs).seconds * 1e6 / double(text.size);
    costs.repaint = microsecondsEach(200, [&form] { form.repaint(); });
    QScrollBar *scrollBar = form.findChild<TextBox *>(QStringLiteral("T2"))->verticalScrollBar();
    costs.scroll = microsecondsEach(200, [scrollBar] {
        scrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCoreApplication::processEvents();
    });
    return costs;
}

QString PixelCosts::toLine() const
{
    return QStringLiteral("%1 %2 %3")
        .arg(step, 0, 'g', 9)
        .arg(repaint, 0, 'g', 9)
        .arg(scroll, 0, 'g', 9);
}

PixelCosts PixelCosts::fromLine(const QString &line)
{
    const QStringList f = line.split(QLatin1Char(' '));
    if (f.size() != 3)
        qFatal("malformed measurement: %s", qPrintable(line));
    return {f[0].toDouble(), f[1].toDouble(), f[2].toDouble()};
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
    return {f[0].toLongLong(), timing(1),        timing(4), timing(7),
            f[10].toDouble(),  f[11].toDouble(), {}};
}
