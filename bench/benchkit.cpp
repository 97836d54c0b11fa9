#include "benchkit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace lumkar::bench {

void SilentDialogs::told(const QString &text) const
{
    std::fprintf(m_stop ? stderr : stdout, "%s: %s\n", m_stop ? "unexpected message" : "message",
                 qPrintable(text));
    if (m_stop)
        std::exit(1);
}

double median(QVector<double> samples)
{
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double timeIt(int runs, const std::function<void()> &prepare,
              const std::function<void()> &action)
{
    QVector<double> samples;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        action();
        QCoreApplication::processEvents();
        samples << timer.nsecsElapsed() / 1e6;
    }
    return median(samples);
}

namespace {

double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

Timing measure(int runs, const std::function<void()> &action)
{
    QVector<double> wall;
    QVector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        const double cpuStart = cpuMilliseconds();
        timer.start();
        action();
        QCoreApplication::processEvents();
        wall << timer.nsecsElapsed() / 1e6;
        cpu << cpuMilliseconds() - cpuStart;
    }
    return {median(wall), median(cpu)};
}

long peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace lumkar::bench
