// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include <sys/types.h>

namespace bench {

using Clock = std::chrono::steady_clock;

// A top-level window the X server mapped, and when the harness heard of it.
struct Mapped {
    Window window = 0;
    Clock::time_point at;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(Size, Size) = default;
};

// The harness's own connection to the X server: it watches the root window for
// top-level windows being mapped and drives the pointer through XTest.
class XSession {
public:
    XSession();
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    // The next top-level window mapped, or nothing if none comes by the deadline.
    [[nodiscard]] std::optional<Mapped> nextMap(Clock::time_point deadline);
    // Keeps reading events until the time comes; maps seen meanwhile stay queued.
    void idleUntil(Clock::time_point until);
    // When the window was first drawn into (its first frame), waiting until the deadline.
    [[nodiscard]] std::optional<Clock::time_point> firstDrawn(Window window,
                                                              Clock::time_point deadline);
    // Forgets the windows of a program that has ended, and maps nobody asked for.
    void forgetWindows();

    [[nodiscard]] std::string caption(Window window);
    [[nodiscard]] pid_t pidOf(Window window);
    [[nodiscard]] Size sizeOf(Window window);
    [[nodiscard]] Size screenSize() const;
    [[nodiscard]] int screenDepth() const;

    // Moves the pointer to a point of the window (window coordinates).
    void pointAt(Window window, int x, int y);
    // Moves the pointer to a point of the screen.
    void pointAtScreen(int x, int y);
    // Presses and releases the first button where the pointer is; returns when the
    // press left for the server.
    [[nodiscard]] Clock::time_point click();
    // Asks the window to close, as a title-bar close button would.
    void requestClose(Window window);

private:
    void readPending();
    [[nodiscard]] bool waitReadable(Clock::time_point deadline);

    Display *m_display = nullptr;
    Window m_root = 0;
    int m_damageEvent = 0;
    Atom m_wmProtocols = 0;
    Atom m_wmDeleteWindow = 0;
    Atom m_netWmName = 0;
    Atom m_netWmPid = 0;
    Atom m_utf8String = 0;
    std::deque<Mapped> m_maps;
    // Every top-level window is watched for drawing from its creation on, so that its
    // first frame cannot slip by before the watch starts.
    std::map<Window, Clock::time_point> m_drawn;
};

}  // namespace bench
