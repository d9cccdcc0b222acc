// One check in a forked child, answering through a pipe under a deadline.
#include "isolated_run.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace tarnwick::conformance {

std::string RunIsolated(const std::function<std::string()> &check, double seconds)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return "crash";
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return "crash";
    }
    if (pid == 0) {
        ::close(ends[0]);
        const std::string answer = check();
        [[maybe_unused]] ssize_t written = ::write(ends[1], answer.data(), answer.size());
        ::_exit(0);
    }
    ::close(ends[1]);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::string answer;
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd wait{ends[0], POLLIN, 0};
        if (::poll(&wait, 1, static_cast<int>(left)) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(ends[0], buffer, sizeof buffer);
        if (n <= 0)
            break; // the child closed its end: done or dead
        answer.append(buffer, static_cast<size_t>(n));
    }
    ::close(ends[0]);
    if (timedOut)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (timedOut)
        return "hang";
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || answer.empty())
        return "crash";
    return answer;
}

} // namespace tarnwick::conformance
