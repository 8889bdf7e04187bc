// SPDX-License-Identifier: GPL-3.0-or-later
#include "x_session.h"

#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace bench {

namespace {

// A window property's items: 8-bit ones as bytes, 32-bit ones as the longs Xlib hands
// them over as. Empty when the window has none of that type.
struct Property {
    std::vector<unsigned char> bytes;
    std::vector<long> longs;
};

Property readProperty(Display *display, Window window, Atom name, Atom type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    Property value;
    if (XGetWindowProperty(display, window, name, 0, 1024, False, type, &actualType, &format,
                           &count, &remaining, &data)
        != Success)
        return value;
    if (data && actualType == type) {
        if (format == 8)
            value.bytes.assign(data, data + count);
        else if (format == 32)
            value.longs.assign(reinterpret_cast<const long *>(data),
                               reinterpret_cast<const long *>(data) + count);
    }
    if (data)
        XFree(data);
    return value;
}

// Windows of the measured programs come and go as they please (some live only for a
// moment); requests about a window already gone fail harmlessly.
int ignoreVanishedWindows(Display *display, XErrorEvent *error)
{
    if (error->error_code == BadWindow || error->error_code == BadDrawable)
        return 0;
    char text[256];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "refs-quiz-bench: X error: %s (request %d.%d)\n", text,
                 error->request_code, error->minor_code);
    return 0;
}

}  // namespace

XSession::XSession() : m_display(XOpenDisplay(nullptr))
{
    if (!m_display)
        throw std::runtime_error("cannot open the X display (is DISPLAY set?)");
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(m_display, &event, &error, &major, &minor))
        throw std::runtime_error("the X server has no XTEST extension");
    if (!XDamageQueryExtension(m_display, &m_damageEvent, &error))
        throw std::runtime_error("the X server has no DAMAGE extension");
    XSetErrorHandler(ignoreVanishedWindows);
    m_root = DefaultRootWindow(m_display);
    m_wmProtocols = XInternAtom(m_display, "WM_PROTOCOLS", False);
    m_wmDeleteWindow = XInternAtom(m_display, "WM_DELETE_WINDOW", False);
    m_netWmName = XInternAtom(m_display, "_NET_WM_NAME", False);
    m_netWmPid = XInternAtom(m_display, "_NET_WM_PID", False);
    m_utf8String = XInternAtom(m_display, "UTF8_STRING", False);
    // With no window manager, top-level windows are the root's children: their maps
    // reach us as the root's substructure notifications.
    XSelectInput(m_display, m_root, SubstructureNotifyMask);
    XSync(m_display, False);
}

XSession::~XSession()
{
    XCloseDisplay(m_display);
}

void XSession::readPending()
{
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        const auto at = Clock::now();
        if (event.type == CreateNotify && event.xcreatewindow.parent == m_root
            && !event.xcreatewindow.override_redirect) {
            // The server frees the damage record with the window.
            XDamageCreate(m_display, event.xcreatewindow.window, XDamageReportNonEmpty);
            XFlush(m_display);
        } else if (event.type == MapNotify && event.xmap.event == m_root
                   && !event.xmap.override_redirect) {
            m_maps.push_back({event.xmap.window, at});
        } else if (event.type == m_damageEvent + XDamageNotify) {
            const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
            m_drawn.try_emplace(damage.drawable, at);
        }
    }
}

bool XSession::waitReadable(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0)
        return false;
    pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
    return poll(&connection, 1, static_cast<int>(left.count())) > 0;
}

std::optional<Mapped> XSession::nextMap(Clock::time_point deadline)
{
    for (;;) {
        readPending();
        if (!m_maps.empty()) {
            const Mapped first = m_maps.front();
            m_maps.pop_front();
            return first;
        }
        if (!waitReadable(deadline) && Clock::now() >= deadline)
            return std::nullopt;
    }
}

void XSession::idleUntil(Clock::time_point until)
{
    for (;;) {
        readPending();
        if (Clock::now() >= until)
            return;
        (void)waitReadable(until);
    }
}

std::optional<Clock::time_point> XSession::firstDrawn(Window window, Clock::time_point deadline)
{
    for (;;) {
        readPending();
        if (const auto drawn = m_drawn.find(window); drawn != m_drawn.end())
            return drawn->second;
        if (!waitReadable(deadline) && Clock::now() >= deadline)
            return std::nullopt;
    }
}

void XSession::forgetWindows()
{
    readPending();
    m_maps.clear();
    m_drawn.clear();
}

std::string XSession::caption(Window window)
{
    const auto name = readProperty(m_display, window, m_netWmName, m_utf8String).bytes;
    return {name.begin(), name.end()};
}

pid_t XSession::pidOf(Window window)
{
    const auto pid = readProperty(m_display, window, m_netWmPid, XA_CARDINAL).longs;
    return pid.empty() ? 0 : static_cast<pid_t>(pid.front());
}

Size XSession::sizeOf(Window window)
{
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    if (!XGetGeometry(m_display, window, &root, &x, &y, &width, &height, &border, &depth))
        return {};
    return {static_cast<int>(width), static_cast<int>(height)};
}

Size XSession::screenSize() const
{
    const int screen = DefaultScreen(m_display);
    return {DisplayWidth(m_display, screen), DisplayHeight(m_display, screen)};
}

int XSession::screenDepth() const
{
    return DefaultDepth(m_display, DefaultScreen(m_display));
}

void XSession::pointAt(Window window, int x, int y)
{
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(m_display, window, m_root, x, y, &rootX, &rootY, &child);
    pointAtScreen(rootX, rootY);
}

void XSession::pointAtScreen(int x, int y)
{
    XTestFakeMotionEvent(m_display, DefaultScreen(m_display), x, y, CurrentTime);
    XFlush(m_display);
}

Clock::time_point XSession::click()
{
    XTestFakeButtonEvent(m_display, Button1, True, CurrentTime);
    XTestFakeButtonEvent(m_display, Button1, False, CurrentTime);
    const auto at = Clock::now();
    XFlush(m_display);
    return at;
}

void XSession::requestClose(Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = m_wmProtocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(m_wmDeleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, window, False, NoEventMask, &event);
    XFlush(m_display);
}

}  // namespace bench
