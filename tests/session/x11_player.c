/* A stand-in video player on X11, as SDL and mpv behave towards the screen saver.
 *   x11_player suspend      holds XScreenSaverSuspend(True) until killed
 *   x11_player reset N      calls XResetScreenSaver every half second, N times, then exits
 * Prints "ready" once the server has the first request. */
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) return 1;
    if (strcmp(argv[1], "suspend") == 0) {
        XScreenSaverSuspend(display, True);
        XSync(display, False);
        puts("ready");
        fflush(stdout);
        for (;;) pause();
    }
    int times = argc > 2 ? atoi(argv[2]) : 1;
    for (int i = 0; i < times; ++i) {
        XResetScreenSaver(display);
        XSync(display, False);
        if (i == 0) {
            puts("ready");
            fflush(stdout);
        }
        const struct timespec half = {0, 500000000};
        nanosleep(&half, NULL);
    }
    XCloseDisplay(display);
    return 0;
}
