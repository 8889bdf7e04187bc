// SPDX-License-Identifier: GPL-3.0-or-later
// Apart from x_screen.cpp: Xlib's macros (None, Bool, Status...) clash with Qt's names.
#include "x_screen_maps.h"

#include "x_session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace xscreen {

namespace {

using bench::Clock;

bool near(bench::Size size, Size wanted)
{
    return std::abs(size.width - wanted.width) <= 1 && std::abs(size.height - wanted.height) <= 1;
}

// When a window of that size is mapped next, waiting until the deadline. A window may be
// mapped a moment before it takes its final size, so each is given a little time for that.
std::optional<Clock::time_point> mapped(bench::XSession &x, Size wanted, Clock::time_point deadline)
{
    while (const auto map = x.nextMap(deadline)) {
        for (int look = 0; look < 20; ++look) {
            if (near(x.sizeOf(map->window), wanted))
                return map->at;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return std::nullopt;
}

}  // namespace

void acknowledgeMaps()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x-screen: cannot open the X display\n");
        std::exit(1);
    }
    // Windows come and go; a state set on one already gone fails harmlessly.
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    std::puts("watching");
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        Window window = 0;
        long state = WithdrawnState;
        if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect)
            window = event.xmap.window, state = NormalState;
        else if (event.type == UnmapNotify && event.xunmap.event == root)
            window = event.xunmap.window;
        if (window) {
            const long value[2] = {state, 0};
            XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(value), 2);
            XFlush(display);
        }
    }
}

std::optional<int> titleHandOver(Size title, Size instructions)
{
    bench::XSession x;
    std::puts("watching");
    std::fflush(stdout);
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    const auto titleMapped = mapped(x, title, deadline);
    if (!titleMapped)
        return std::nullopt;
    const auto instructionsMapped = mapped(x, instructions, deadline);
    if (!instructionsMapped)
        return std::nullopt;
    return int(
        std::chrono::duration_cast<std::chrono::milliseconds>(*instructionsMapped - *titleMapped)
            .count());
}

}  // namespace xscreen
