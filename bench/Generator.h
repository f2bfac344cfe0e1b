#pragma once

#include <QString>
#include <functional>

namespace zel::bench {

struct Volumes {
    int articles = 100000;
    int partners = 50000;
    int ddtNotes = 50000;
    int ddtLines = 1000000;
    int invoiceLines = 900000;
};

// Prepares a base folder (as --init does) and fills its archives with generated
// rows, each archive in one statement. Returns false with a message on failure.
bool generateArchives(const QString& base, const Volumes& v, QString* error);

// A base folder with the standard volumes, generated once per process and removed at exit.
QString sharedLargeBase();

// The benchmarks' main(): Qt on the offscreen platform, then every registered benchmark.
int runBenchmarks(int argc, char** argv);
// Runs after the benchmarks, before the application goes: for fixtures holding widgets.
void onBenchmarksDone(std::function<void()> hook);

}  // namespace zel::bench
