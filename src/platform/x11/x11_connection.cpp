// The X11 backend's connection: opened on first use, its errors, and waiting for its events.
#include <poll.h>
#include <unistd.h>

#include <cstdio>

#include "platform/win32/posix_process.h"
#include "platform/x11/x11_state.h"

namespace smokedrift::x11 {

namespace {

// A window that disappears under us (a preview whose parent died) must not end the process.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

// The display is gone (the server died or dropped us): nothing can be drawn or closed any more.
// One line and out at once, as a mode without a display ends; exit() would run the GL driver's
// exit handlers against the dead connection.
int displayLost(Display*) {
    static const char line[] = "X11: lost the connection to the display\n";
    [[maybe_unused]] const ssize_t n = write(2, line, sizeof(line) - 1);
    _exit(255);
}

}  // namespace

X11State& state() {
    static X11State s;
    return s;
}

Display* display() {
    X11State& s = state();
    if (s.display != nullptr || s.connectFailed) return s.display;
    s.display = XOpenDisplay(nullptr);
    if (s.display == nullptr) {
        s.connectFailed = true;
        std::fprintf(stderr, "X11: cannot open display \"%s\"\n", XDisplayName(nullptr));
        return nullptr;
    }
    XSetErrorHandler(&ignoreXError);
    XSetIOErrorHandler(&displayLost);
    s.screen = DefaultScreen(s.display);
    s.root = RootWindow(s.display, s.screen);
    s.wmProtocols = XInternAtom(s.display, "WM_PROTOCOLS", False);
    s.wmDeleteWindow = XInternAtom(s.display, "WM_DELETE_WINDOW", False);
    posix::installStopHandlers();
    return s.display;
}

void waitEvents(int timeoutMs) {
    X11State& s = state();
    if (s.display != nullptr) XFlush(s.display);
    if (s.display != nullptr && XPending(s.display) > 0) return;
    pollfd fds[2] = {};
    int count = 0;
    if (s.display != nullptr) fds[count++] = pollfd{ConnectionNumber(s.display), POLLIN, 0};
    if (posix::stopFd() >= 0) fds[count++] = pollfd{posix::stopFd(), POLLIN, 0};
    poll(fds, static_cast<nfds_t>(count), timeoutMs);
}

}  // namespace smokedrift::x11
