#include "bench/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sstream>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

ChildRun run_self(const std::vector<std::string>& args, std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    ChildRun run;
    const std::string self = "/proc/self/exe";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(self.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);

    pid_t pid = 0;
    run.spawned = Clock::now();
    const int spawn_error = posix_spawn(&pid, self.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawn_error != 0) {
        close(out[0]);
        return run;
    }
    run.started = true;

    const Clock::time_point deadline = run.spawned + limit;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            run.timed_out = true;
            kill(pid, SIGKILL);
            break;
        }
        pollfd p{out[0], POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // the child closed its output: it is ending
        run.output.append(buffer, static_cast<std::size_t>(n));
    }
    close(out[0]);
    while (wait4(pid, &run.status, 0, &run.usage) < 0 && errno == EINTR) {
    }
    return run;
}

double value_after(const std::string& output, const std::string& word) {
    std::istringstream lines(output);
    std::string w;
    while (lines >> w) {
        if (w != word) continue;
        double v = -1;
        if (lines >> v) return v;
        return -1;
    }
    return -1;
}

}  // namespace bench
