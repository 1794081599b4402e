// Times the processing run of the real main window on generated Russian text
// and prints one table. Each case runs in a child process of its own, so that
// its peak memory is its own and no case inherits another's caches.
//
//     veltor_bench            all cases, one after the other
//     veltor_bench --case N   case N only, printed as one line for the parent

#include "measurement.h"

#include <QApplication>
#include <QProcess>
#include <QThread>

#include <cstdio>

namespace {

constexpr double FlatLimit = 1.3;
constexpr double MillionSecondsLimit = 15;
constexpr double OneLineSecondsLimit = 5;
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
    std::printf("%-19s %9lld %8.2f %9.0f %10.2f %10.2f %6.2f %6.1f %8.2f %6.1f %7.0f\n",
                qPrintable(c.name), qlonglong(m.characters), m.seconds, m.perSecond(),
                m.firstTenthUs, m.lastTenthUs, m.flatness(), m.endMs, m.floorUs, m.overFloor(),
                m.peakMB);
}

void printTarget(const QString &what, bool met)
{
    std::printf("  %-50s %s\n", qPrintable(what), met ? "met" : "MISSED");
}

void printTargets(const QMap<QString, Measurement> &results)
{
    std::printf("\nTargets (set for the run under Xvfb):\n");
    // The tenths of the 10,000-character run last less than a frame, so their
    // ratio tells where frames fell rather than whether the cost grows.
    for (const char *name : {"lines 100k", "lines 1M", "one line 100k"}) {
        const double flatness = results[QLatin1String(name)].flatness();
        printTarget(QStringLiteral("%1  last tenth %2 x first (<= %3)")
                        .arg(QLatin1String(name), -13)
                        .arg(flatness, 0, 'f', 2)
                        .arg(FlatLimit),
                    flatness <= FlatLimit);
    }
    const Measurement &million = results[QStringLiteral("lines 1M")];
    const Measurement &oneLine = results[QStringLiteral("one line 100k")];
    printTarget(QStringLiteral("lines 1M       %1 s (<= %2 s)")
                    .arg(million.seconds, 0, 'f', 1)
                    .arg(MillionSecondsLimit),
                million.seconds <= MillionSecondsLimit);
    printTarget(QStringLiteral("one line 100k  %1 s (<= %2 s)")
                    .arg(oneLine.seconds, 0, 'f', 1)
                    .arg(OneLineSecondsLimit),
                oneLine.seconds <= OneLineSecondsLimit);
    printTarget(QStringLiteral("lines 1M       peak memory %1 MB (<= %2 MB)")
                    .arg(million.peakMB, 0, 'f', 0)
                    .arg(PeakMBLimit),
                million.peakMB <= PeakMBLimit);
}

void printPacedOverLiteral(const QMap<QString, Measurement> &results)
{
    std::printf("\nFrame-paced over literal, characters per second:");
    for (const char *size : {"10k", "100k"}) {
        const double paced = results[QStringLiteral("lines ") + QLatin1String(size)].perSecond();
        const double literal =
            results[QStringLiteral("literal lines ") + QLatin1String(size)].perSecond();
        std::printf("  lines %s x%.0f", size, paced / literal);
    }
    std::printf("\n");
}

int runAll()
{
    std::printf("Processing run of the main window, platform %s, %d CPUs\n",
                qPrintable(QGuiApplication::platformName()), QThread::idealThreadCount());
    std::printf("Wall-clock time of one run per case, from the click on Knop to the completion\n"
                "notice, each case in a process of its own. Tenths: cost per character of the\n"
                "first and the last tenth of the run's steps. End: the last step, bringing the\n"
                "window up to date and showing the notice. Floor: the same number of event\n"
                "pumps with the window shown and nothing to do but deliver the timing event\n"
                "that the run carries too. Peak: the process's peak resident memory.\n\n");
    std::printf("%-19s %9s %8s %9s %10s %10s %6s %6s %8s %6s %7s\n", "case", "chars", "seconds",
                "chars/s", "us/ch 1st", "us/ch last", "last/", "end", "floor", "run/", "peak");
    std::printf("%-19s %9s %8s %9s %10s %10s %6s %6s %8s %6s %7s\n", "", "", "", "", "tenth",
                "tenth", "first", "ms", "us/pump", "floor", "MB");
    QMap<QString, Measurement> results;
    const QList<Case> &cases = benchCases();
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const Measurement m = measureInChild(i);
        printRow(cases[i], m);
        std::fflush(stdout);
        results.insert(cases[i].name, m);
    }
    printPacedOverLiteral(results);
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
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--case"))
        return runCase(args[2].toLongLong());
    return runAll();
}
