// Times the processing run of the real main window on generated Russian text
// and prints one table. Each case runs in a child process of its own, so that
// its peak memory is its own and no case inherits another's caches.
//
//     veltor_bench            all cases, one after the other
//     veltor_bench --case N   case N only, printed as one line for the parent

#include "measurement.h"

#include "mainwindow/rundisplay.h"

#include <QApplication>
#include <QProcess>
#include <QThread>

#include <cstdio>

namespace {

constexpr double FlatLimit = 1.3;
constexpr double OverFloorLimit = 0.45;
constexpr double MillionSecondsLimit = 60;
constexpr double PeakMBLimit = 200;

Measurement measureInChild(qsizetype index)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--case"), QString::number(index)});
    // Qt's warnings about the platform would break up the table; they are
    // shown when the case fails.
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
        std::fputs(child.readAllStandardError().constData(), stderr);
        qFatal("case %lld failed", qlonglong(index));
    }
    return Measurement::fromLine(QString::fromLatin1(child.readAllStandardOutput()).trimmed());
}

void printRow(const Case &c, const Measurement &m)
{
    std::printf("%-14s %9lld", qPrintable(c.name), qlonglong(m.characters));
    for (const Timing *t : {&m.pump, &m.floor, &m.run})
        std::printf(" %9.0f %5.2f", m.perSecond(*t), t->flatness());
    std::printf(" %8.1f %5.2f %7.0f %5.0f\n", m.run.seconds, m.overFloor(), m.endMs, m.peakMB);
}

void printTarget(const QString &what, bool met)
{
    std::printf("  %-58s %s\n", qPrintable(what), met ? "met" : "MISSED");
}

void printTargets(const QMap<QString, Measurement> &results)
{
    std::printf("\nTargets (set for the run under Xvfb):\n");
    for (auto it = results.cbegin(); it != results.cend(); ++it) {
        const Measurement &m = it.value();
        const bool oneLine = it.key().startsWith(QLatin1String("one line"));
        printTarget(QStringLiteral("%1 last tenth %2 x first (<= %3)")
                        .arg(it.key(), -14)
                        .arg(m.run.flatness(), 0, 'f', 2)
                        .arg(FlatLimit),
                    m.run.flatness() <= FlatLimit);
        if (!oneLine || m.characters == 100'000)
            printTarget(QStringLiteral("%1 run %2 x paint floor (<= %3)")
                            .arg(it.key(), -14)
                            .arg(m.overFloor(), 0, 'f', 2)
                            .arg(OverFloorLimit),
                        m.overFloor() <= OverFloorLimit);
    }
    const Measurement &million = results[QStringLiteral("lines 1M")];
    printTarget(QStringLiteral("lines 1M       %1 s (<= %2 s)")
                    .arg(million.run.seconds, 0, 'f', 1)
                    .arg(MillionSecondsLimit),
                million.run.seconds <= MillionSecondsLimit);
    printTarget(QStringLiteral("lines 1M       peak memory %1 MB (<= %2 MB)")
                    .arg(million.peakMB, 0, 'f', 0)
                    .arg(PeakMBLimit),
                million.peakMB <= PeakMBLimit);
}

int runAll()
{
    std::printf("Processing run of the main window, platform %s, %d CPUs\n",
                qPrintable(QGuiApplication::platformName()), QThread::idealThreadCount());
    std::printf("Each case in a process of its own, steps through its text three ways, one after\n"
                "the other: (a) bare event pumps; (b0) the reference floor: per step Qt's plain\n"
                "status bar and progress bar over the window's own take the status text and\n"
                "the progress value, then a pump; (c) the real run, from the click\n"
                "on Knop. chars/s up to the last step; last/first: cost per step of the last\n"
                "tenth over the first; run/floor: (c) over (b0); end: from the run's last step\n"
                "to its completion notice; peak: the process's peak resident memory.\n\n");
    std::printf("%-14s %9s %15s %15s %15s %8s %5s %7s %5s\n", "", "", "(a) pump", "(b0) floor",
                "(c) run", "", "run/", "end", "peak");
    std::printf("%-14s %9s", "case", "chars");
    for (int i = 0; i < 3; ++i)
        std::printf(" %9s %5s", "chars/s", "last/");
    std::printf(" %8s %5s %7s %5s\n", "run s", "floor", "ms", "MB");
    QMap<QString, Measurement> results;
    const QList<Case> &cases = benchCases();
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const Measurement m = measureInChild(i);
        printRow(cases[i], m);
        std::fflush(stdout);
        results.insert(cases[i].name, m);
    }
    printTargets(results);
    return 0;
}

int runCase(qsizetype index)
{
    const Measurement m = measure(benchCases().at(index));
    std::printf("%s\n", qPrintable(m.toLine()));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    sendWindowPixelsOverTheConnection();
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--case"))
        return runCase(args[2].toLongLong());
    return runAll();
}
