/* A pointer the tests can drive: headless sway has no input devices, and no packaged tool moves a
   pointer without uinput. Binds the wlroots virtual pointer on the first seat and stays connected
   (sway drops the pointer with the connection), reading one command a line from stdin:
     move DX DY   relative motion, then a frame
     button N     press and release of button 1 (left), 2 (middle) or 3 (right), then a frame
     wait         a round trip, then "ok" on stdout, so that a script knows the compositor has
                  everything sent before
   Exits 0 at the end of the input, 1 on a failure. */
#include "wlr-virtual-pointer-unstable-v1-client.h"

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

static struct wl_seat* seat;
static struct zwlr_virtual_pointer_manager_v1* manager;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && seat == NULL) {
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    }
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static uint32_t now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static int fail(const char* what) {
    fprintf(stderr, "virtual_pointer: %s\n", what);
    return 1;
}

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) return fail("cannot connect to the Wayland display");
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    if (wl_display_roundtrip(display) < 0) return fail("the registry round trip failed");
    if (manager == NULL) return fail("the compositor offers no zwlr_virtual_pointer_manager_v1");
    struct zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    if (wl_display_roundtrip(display) < 0) return fail("creating the pointer failed");

    static const uint32_t buttons[] = {0, BTN_LEFT, BTN_MIDDLE, BTN_RIGHT};
    char line[128];
    while (fgets(line, sizeof line, stdin) != NULL) {
        double dx = 0, dy = 0;
        unsigned n = 0;
        if (sscanf(line, "move %lf %lf", &dx, &dy) == 2) {
            zwlr_virtual_pointer_v1_motion(pointer, now_ms(), wl_fixed_from_double(dx), wl_fixed_from_double(dy));
            zwlr_virtual_pointer_v1_frame(pointer);
        } else if (sscanf(line, "button %u", &n) == 1 && n >= 1 && n <= 3) {
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), buttons[n], WL_POINTER_BUTTON_STATE_PRESSED);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), buttons[n], WL_POINTER_BUTTON_STATE_RELEASED);
            zwlr_virtual_pointer_v1_frame(pointer);
        } else if (strcmp(line, "wait\n") == 0 || strcmp(line, "wait") == 0) {
            if (wl_display_roundtrip(display) < 0) return fail("the round trip failed");
            printf("ok\n");
            fflush(stdout);
            continue;
        } else {
            fprintf(stderr, "virtual_pointer: unknown command: %s", line);
            return 1;
        }
        if (wl_display_flush(display) < 0) return fail("sending to the compositor failed");
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(manager);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
