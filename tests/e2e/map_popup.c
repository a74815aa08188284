/* Maps a white override-redirect window (as a notification pops up: above everything, no window
   manager involved) and keeps it until killed. Usage: map_popup X Y WIDTH HEIGHT */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: %s X Y WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "map_popup: cannot open display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes = {0};
    attributes.override_redirect = True;
    attributes.background_pixel = WhitePixel(display, screen);
    const Window popup = XCreateWindow(display, RootWindow(display, screen), atoi(argv[1]), atoi(argv[2]),
                                       (unsigned)atoi(argv[3]), (unsigned)atoi(argv[4]), 0, CopyFromParent, InputOutput,
                                       CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XStoreName(display, popup, "smokedrift-e2e-popup");
    XMapRaised(display, popup);
    XFlush(display);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
    }
}
