#pragma once
// Benchmarks read as ratios to a baseline measured in the same run: every benchmark runs in random
// interleaved repetitions, so that both sides see the same state of the machine, and the reporter
// keeps each one's median. Main thread only.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace qmv::bench {

// Keeps each benchmark's median real time, in seconds, by its name with arguments ("BM_Set/1").
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                times[run.run_name.str()] = run.GetAdjustedRealTime() / 1e3;
    }
    std::map<std::string, double> times;
};

// Google Benchmark set up for 12 interleaved repetitions of at least 0.3 s, medians only; later
// command-line arguments override these.
inline void initializeInterleaved(int argc, char** argv)
{
    std::vector<char*> args(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    static char repetitions[] = "--benchmark_repetitions=12";
    static char minTime[] = "--benchmark_min_time=0.3";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {interleave, repetitions, minTime, aggregates});
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
}

}  // namespace qmv::bench
