// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <utility>

namespace shell {

// The run-time error numbers the quiz can raise, numbered as users of classic
// forms runtimes know them from their error messages.
enum class ErrorNumber : int {
    OutOfMemory = 7,
    Overflow = 6,
    Internal = 51,
};

// A run-time error: it aborts the handler it is raised in, is shown to the user
// and ends the program (see runHandler).
class RuntimeError : public std::exception {
public:
    explicit RuntimeError(ErrorNumber number) : m_number(number) {}

    [[nodiscard]] ErrorNumber number() const noexcept { return m_number; }
    [[nodiscard]] QString description() const;
    [[nodiscard]] const char *what() const noexcept override { return "run-time error"; }

private:
    ErrorNumber m_number;
};

// The exit status of a program ended by a run-time error.
inline constexpr int RuntimeErrorExitStatus = 1;

// Stores a whole number into an unsigned byte; outside 0..255 it raises Overflow.
[[nodiscard]] std::uint8_t checkedByte(double value);

// The text of the message box that reports an unhandled run-time error.
[[nodiscard]] QString errorMessage(const RuntimeError &error);

// Shows the message box for the error and returns; closing the box ends the program with
// RuntimeErrorExitStatus.
void reportRuntimeError(const RuntimeError &error);

// Runs an event handler so that no exception ever leaves it into Qt's event loop:
// a run-time error is reported and ends the program.
template <class Handler>
void runHandler(Handler &&handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (const RuntimeError &error) {
        reportRuntimeError(error);
    } catch (const std::bad_alloc &) {
        reportRuntimeError(RuntimeError(ErrorNumber::OutOfMemory));
    } catch (...) {
        reportRuntimeError(RuntimeError(ErrorNumber::Internal));
    }
}

// Ends the program: the event loop returns the status to main, or in a browser, where it
// never returns, the page is told.
void endProgram(int status);

}  // namespace shell
