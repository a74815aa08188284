/* Another client's grab, as an open menu or a virtual-machine viewer holds one.
   grab_input hold: maps a small window, grabs the keyboard and the pointer to it, says "grabbed",
   then writes "key" for each key it receives, until killed.
   grab_input taken: exits 0 when some keyboard device has been grabbed away from the core
   keyboard (XInput 2 lists it as floating while its grab lasts), 1 otherwise. */
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <stdio.h>
#include <string.h>

static int keyboardTaken(Display* display) {
    int opcode, event, error, major = 2, minor = 0, count = 0, taken = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        return 0;
    }
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
    for (int i = 0; i < count; ++i) {
        if (devices[i].use == XIFloatingSlave && devices[i].num_classes > 0) {
            for (int c = 0; c < devices[i].num_classes; ++c) taken |= devices[i].classes[c]->type == XIKeyClass;
        }
    }
    XIFreeDeviceInfo(devices);
    return taken;
}

int main(int argc, char** argv) {
    if (argc != 2 || (strcmp(argv[1], "hold") != 0 && strcmp(argv[1], "taken") != 0)) {
        fprintf(stderr, "usage: %s hold|taken\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "grab_input: cannot open display\n");
        return 2;
    }
    if (strcmp(argv[1], "taken") == 0) return keyboardTaken(display) ? 0 : 1;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 20, 20, 0, 0, 0);
    XSelectInput(display, window, KeyPressMask | ExposureMask);
    XMapWindow(display, window);
    XEvent event;
    do XNextEvent(display, &event);
    while (event.type != Expose);
    if (XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime) != GrabSuccess ||
        XGrabPointer(display, window, False, ButtonPressMask | PointerMotionMask, GrabModeAsync, GrabModeAsync, None,
                     None, CurrentTime) != GrabSuccess) {
        fprintf(stderr, "grab_input: could not grab\n");
        return 1;
    }
    printf("grabbed\n");
    fflush(stdout);
    for (;;) {
        XNextEvent(display, &event);
        if (event.type == KeyPress) {
            printf("key\n");
            fflush(stdout);
        }
    }
}
