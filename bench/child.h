// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include <sys/types.h>

namespace bench {

// What /proc says of a process's resident memory, in KiB.
struct Memory {
    double rssKiB = 0;
    double peakKiB = 0;
};

// One run of a measured program, its output appended to a log file.
class Child {
public:
    Child(const std::string &program, const std::string &log);
    ~Child();
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    [[nodiscard]] pid_t pid() const noexcept { return m_pid; }
    [[nodiscard]] Memory memory() const;
    // The processor time all its threads have had so far, in milliseconds: unlike the
    // wall clock, it does not grow when other processes load the machine.
    [[nodiscard]] double cpuMs() const;
    // The exit status once the program has ended, nothing if it is still running by then.
    [[nodiscard]] std::optional<int> waitExit(std::chrono::milliseconds limit);

private:
    pid_t m_pid = 0;
    bool m_ended = false;
};

}  // namespace bench
