#include "appserver/processsettings.h"

#include <malloc.h>
#include <sys/resource.h>

#include <csignal>
#include <mutex>

namespace qmv::appserver {

namespace {

// Bodies beyond this are mapped and unmapped whole, so a burst of them is never kept in the arenas.
constexpr int mappedBody = 4 * 1024 * 1024;

}  // namespace

void applyServingProcessSettings()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // Fixed thresholds: left to adapt, the allocator would keep very large bodies in its arenas
        // after a burst; smaller ones stay there between calls (mapping each anew costs a page fault
        // per page) until the server's trim after large calls gives them back.
        ::mallopt(M_MMAP_THRESHOLD, mappedBody);
        ::mallopt(M_TRIM_THRESHOLD, 4 * mappedBody);
        // Every client connection is a descriptor: take all the process may have.
        rlimit files{};
        if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
            files.rlim_cur = files.rlim_max;
            ::setrlimit(RLIMIT_NOFILE, &files);
        }
        // A write to a connection the client has closed fails with EPIPE instead of ending the process.
        std::signal(SIGPIPE, SIG_IGN);
    });
}

}  // namespace qmv::appserver
