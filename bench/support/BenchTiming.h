#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <vector>

// What every benchmark needs to measure and tell: output, medians and processor
// time.
namespace Bench {

void print(const QString &line);
double median(std::vector<double> values);
// Processor time of this thread: on a machine that others share it varies far less
// than the elapsed time.
double cpuMs();

// The elapsed and processor times of the measured runs of some work, in ms.
struct Timing
{
    std::vector<double> elapsed;
    std::vector<double> cpu;

    // Runs work once and adds its times.
    template <typename Work> void measure(Work work)
    {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuMs();
        work();
        elapsed.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - cpuStart);
    }

    double medianElapsed() const { return median(elapsed); }
    double medianCpu() const { return median(cpu); }
};

// Runs step(0) to warm up, then step(1) to step(runs), which are measured.
Timing timeRuns(int runs, const std::function<void(int run)> &step);

} // namespace Bench
