#include "child.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
    const int error = posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
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
