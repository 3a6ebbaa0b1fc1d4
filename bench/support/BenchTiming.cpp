#include "BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace Bench {

void print(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

Timing timeRuns(int runs, const std::function<void(int run)> &step)
{
    step(0);
    Timing timing;
    for (int run = 1; run <= runs; ++run)
        timing.measure([&] { step(run); });
    return timing;
}

} // namespace Bench
