// SPDX-License-Identifier: GPL-3.0-or-later
#include "child.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <thread>

extern char **environ;

namespace bench {

Child::Child(const std::string &program, const std::string &log)
{
    const int output = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (output < 0)
        throw std::runtime_error("cannot open " + log + ": " + std::strerror(errno));
    // The harness and the X server may run at a raised priority, so that other work on
    // the machine does not hold them up; the measured programs run as any program does.
    const int niceness = std::max(getpriority(PRIO_PROCESS, 0), 0);
    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
    m_pid = fork();
    if (m_pid == 0) {
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        setpriority(PRIO_PROCESS, 0, niceness);
        execve(program.c_str(), argv, environ);
        _exit(127);
    }
    const int error = errno;
    close(output);
    if (m_pid < 0)
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(error));
}

Child::~Child()
{
    if (!m_ended) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

Memory Child::memory() const
{
    Memory memory;
    std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        // "VmRSS:	   41236 kB"
        const auto field = [&line](std::string_view key, double &into) {
            if (line.starts_with(key))
                into = std::stod(line.substr(key.size()));
        };
        field("VmRSS:", memory.rssKiB);
        field("VmHWM:", memory.peakKiB);
    }
    return memory;
}

double Child::cpuMs() const
{
    double nanoseconds = 0;
    const std::filesystem::path tasks = "/proc/" + std::to_string(m_pid) + "/task";
    std::error_code error;
    for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
        // The first field of schedstat is the time spent on a processor, in nanoseconds.
        std::ifstream schedstat(task.path() / "schedstat");
        double onProcessor = 0;
        if (schedstat >> onProcessor)
            nanoseconds += onProcessor;
    }
    return nanoseconds / 1e6;
}

std::optional<int> Child::waitExit(std::chrono::milliseconds limit)
{
    // Only the end of a run waits here, outside anything measured.
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(m_pid, &status, WNOHANG);
        if (ended == m_pid) {
            m_ended = true;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (ended < 0 && errno != EINTR)
            throw std::runtime_error("lost the measured program");
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace bench
