#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace bench {

// One run of a program as a child process: what it printed, how it ended,
// and the resources it used, as the kernel counts them.
struct ChildRun {
    std::chrono::steady_clock::time_point spawned;  // just before the process was created
    std::string output;                             // its standard output
    bool started = false;
    bool timed_out = false;  // killed after the time limit
    int status = 0;          // as waitpid reports it
    rusage usage{};          // ru_maxrss is its peak resident set, in KiB
};

// Runs this very program again with `args`, and waits for it.
ChildRun run_self(const std::vector<std::string>& args, std::chrono::milliseconds limit);

// The number after "<word> " in a child's output, or a negative one.
double value_after(const std::string& output, const std::string& word);

}  // namespace bench
