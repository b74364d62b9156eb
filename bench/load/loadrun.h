#pragma once
// What one measured run collects: every call's latency, errors, calls still waiting at the end and
// the clients that got at least one answer; and how to tell a complete answer in received bytes.
#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace qmv::bench {

using Clock = std::chrono::steady_clock;

enum class Outcome { Ok, Error, Unfinished };

struct Run {
    std::mutex mutex;
    std::vector<double> ms;
    int errors = 0;
    int unfinished = 0;
    int served = 0;  // clients with at least one answer
    double seconds = 0;

    void add(const std::vector<double>& mine, int errs, int waiting)
    {
        std::lock_guard lock(mutex);
        ms.insert(ms.end(), mine.begin(), mine.end());
        errors += errs;
        unfinished += waiting;
        served += mine.size() > size_t(waiting) ? 1 : 0;
    }
    double percentile(double p)
    {
        if (ms.empty())
            return 0;
        std::sort(ms.begin(), ms.end());
        return ms[std::min(ms.size() - 1, size_t(p * double(ms.size())))];
    }
    double callsPerSecond() const { return double(ms.size() - size_t(unfinished)) / seconds; }
};

// Ok or Error once `received` holds a whole answer (head and Content-Length bytes of body), else
// Unfinished. Both servers answer with a Content-Length.
Outcome answerIn(const std::string& received);

}  // namespace qmv::bench
