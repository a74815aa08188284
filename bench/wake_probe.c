/* Used by bench/render_scale.sh: the time from a key pressed (XTest) to the saver's window gone,
   without a tool's start-up in the figure. Waits until the window named in argv[1] has been
   viewable for argv[2] seconds, presses and releases a key, and prints the milliseconds until the
   window is unmapped or destroyed, or "none" if it is still there after 10 s.
   usage: wake_probe WINDOW-ID SECONDS */
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static double nowMs(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

static int ignoreErrors(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 3 || strtoul(argv[1], NULL, 0) == 0) return 2;
    Display* d = XOpenDisplay(NULL);
    if (d == NULL) return 2;
    XSetErrorHandler(ignoreErrors);
    const Window w = (Window)strtoul(argv[1], NULL, 0);
    XSelectInput(d, w, StructureNotifyMask);
    XSync(d, False);
    sleep((unsigned)atoi(argv[2]));
    const KeyCode key = XKeysymToKeycode(d, 'a');
    XSync(d, False);
    const double t0 = nowMs();
    XTestFakeKeyEvent(d, key, True, CurrentTime);
    XTestFakeKeyEvent(d, key, False, CurrentTime);
    XFlush(d);
    for (;;) {
        while (XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == UnmapNotify || e.type == DestroyNotify) {
                printf("%.1f\n", nowMs() - t0);
                return 0;
            }
        }
        if (nowMs() - t0 > 10000) break;
        struct timespec pause = {0, 200000};
        nanosleep(&pause, NULL);
    }
    printf("none\n");
    return 0;
}
