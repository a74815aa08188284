/* An application with a right-click menu, as the tests need one: a grey xdg toplevel that opens a
   white xdg_popup with a grab at the first button press it gets, as menus do. Says on stdout what
   happens to it, one word a line:
     mapped    the toplevel is on screen
     popup     the menu is open and holds the grab
     done      the compositor closed the menu (popup_done: a click elsewhere broke the grab)
   Runs until its input ends. Exits 1 on a failure. */
#define _GNU_SOURCE /* memfd_create */
#include "xdg-shell-menu-client.h"

#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

static struct wl_compositor* compositor;
static struct wl_shm* shm;
static struct xdg_wm_base* wm_base;
static struct wl_seat* seat;

static struct wl_surface* top_surface;
static struct xdg_surface* top_xdg;
static int top_width, top_height, top_configured;

static struct wl_surface* menu_surface;
static struct xdg_surface* menu_xdg;
static struct xdg_popup* menu;
static int menu_configured;

static int say(const char* word) {
    printf("%s\n", word);
    return fflush(stdout);
}

static int fail(const char* what) {
    fprintf(stderr, "popup_menu: %s\n", what);
    return 1;
}

/* A buffer of one grey level, filled through a memfd shared with the compositor. */
static struct wl_buffer* plain_buffer(int width, int height, unsigned char level) {
    const int stride = width * 4;
    const size_t size = (size_t)stride * (size_t)height;
    int fd = memfd_create("popup_menu", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, (off_t)size) < 0) return NULL;
    void* pixels = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) return NULL;
    memset(pixels, level, size);
    munmap(pixels, size);
    struct wl_shm_pool* pool = wl_shm_create_pool(shm, fd, (int32_t)size);
    struct wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}

static void ping(void* data, struct xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
static const struct xdg_wm_base_listener wm_base_listener = {ping};

static void top_configure(void* data, struct xdg_toplevel* toplevel, int32_t width, int32_t height,
                          struct wl_array* states) {
    top_width = width > 0 ? width : 320;
    top_height = height > 0 ? height : 240;
}
static void top_close(void* data, struct xdg_toplevel* toplevel) {}
static const struct xdg_toplevel_listener top_listener = {.configure = top_configure, .close = top_close};

static void top_surface_configure(void* data, struct xdg_surface* surface, uint32_t serial) {
    xdg_surface_ack_configure(surface, serial);
    wl_surface_attach(top_surface, plain_buffer(top_width, top_height, 0x80), 0, 0);
    wl_surface_damage(top_surface, 0, 0, top_width, top_height);
    wl_surface_commit(top_surface);
    top_configured = 1;
}
static const struct xdg_surface_listener top_surface_listener = {top_surface_configure};

static void menu_surface_configure(void* data, struct xdg_surface* surface, uint32_t serial) {
    xdg_surface_ack_configure(surface, serial);
    wl_surface_attach(menu_surface, plain_buffer(100, 100, 0xff), 0, 0);
    wl_surface_damage(menu_surface, 0, 0, 100, 100);
    wl_surface_commit(menu_surface);
    menu_configured = 1;
}
static const struct xdg_surface_listener menu_surface_listener = {menu_surface_configure};

static void menu_configure(void* data, struct xdg_popup* popup, int32_t x, int32_t y, int32_t w, int32_t h) {}
static void menu_done(void* data, struct xdg_popup* popup) { say("done"); }
static const struct xdg_popup_listener menu_listener = {.configure = menu_configure, .popup_done = menu_done};

/* The menu opens where the click was, grabbing with the click's serial. */
static double pointer_x, pointer_y;

static void open_menu(uint32_t serial) {
    struct xdg_positioner* positioner = xdg_wm_base_create_positioner(wm_base);
    xdg_positioner_set_size(positioner, 100, 100);
    xdg_positioner_set_anchor_rect(positioner, (int32_t)pointer_x, (int32_t)pointer_y, 1, 1);
    xdg_positioner_set_anchor(positioner, XDG_POSITIONER_ANCHOR_BOTTOM_RIGHT);
    xdg_positioner_set_gravity(positioner, XDG_POSITIONER_GRAVITY_BOTTOM_RIGHT);
    menu_surface = wl_compositor_create_surface(compositor);
    menu_xdg = xdg_wm_base_get_xdg_surface(wm_base, menu_surface);
    xdg_surface_add_listener(menu_xdg, &menu_surface_listener, NULL);
    menu = xdg_surface_get_popup(menu_xdg, top_xdg, positioner);
    xdg_popup_add_listener(menu, &menu_listener, NULL);
    xdg_popup_grab(menu, seat, serial);
    xdg_positioner_destroy(positioner);
    wl_surface_commit(menu_surface);
}

static void pointer_enter(void* data, struct wl_pointer* p, uint32_t serial, struct wl_surface* surface, wl_fixed_t x,
                          wl_fixed_t y) {
    pointer_x = wl_fixed_to_double(x);
    pointer_y = wl_fixed_to_double(y);
}
static void pointer_leave(void* data, struct wl_pointer* p, uint32_t serial, struct wl_surface* surface) {}
static void pointer_motion(void* data, struct wl_pointer* p, uint32_t time, wl_fixed_t x, wl_fixed_t y) {
    pointer_x = wl_fixed_to_double(x);
    pointer_y = wl_fixed_to_double(y);
}
static void pointer_button(void* data, struct wl_pointer* p, uint32_t serial, uint32_t time, uint32_t button,
                           uint32_t state) {
    if (state == WL_POINTER_BUTTON_STATE_PRESSED && menu == NULL) open_menu(serial);
}
static void pointer_axis(void* data, struct wl_pointer* p, uint32_t time, uint32_t axis, wl_fixed_t value) {}
static const struct wl_pointer_listener pointer_listener = {.enter = pointer_enter,
                                                            .leave = pointer_leave,
                                                            .motion = pointer_motion,
                                                            .button = pointer_button,
                                                            .axis = pointer_axis};

static struct wl_pointer* pointer;

static void seat_capabilities(void* data, struct wl_seat* s, uint32_t caps) {
    if ((caps & WL_SEAT_CAPABILITY_POINTER) && pointer == NULL) {
        pointer = wl_seat_get_pointer(s);
        wl_pointer_add_listener(pointer, &pointer_listener, NULL);
    }
}
static void seat_name(void* data, struct wl_seat* s, const char* name) {}
static const struct wl_seat_listener seat_listener = {seat_capabilities, seat_name};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    if (strcmp(interface, wl_compositor_interface.name) == 0) {
        compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 4);
    } else if (strcmp(interface, wl_shm_interface.name) == 0) {
        shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    } else if (strcmp(interface, xdg_wm_base_interface.name) == 0) {
        wm_base = wl_registry_bind(registry, name, &xdg_wm_base_interface, 1);
        xdg_wm_base_add_listener(wm_base, &wm_base_listener, NULL);
    } else if (strcmp(interface, wl_seat_interface.name) == 0 && seat == NULL) {
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
        wl_seat_add_listener(seat, &seat_listener, NULL);
    }
}
static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {}
static const struct wl_registry_listener registry_listener = {global, global_remove};

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) return fail("cannot connect to the Wayland display");
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    if (wl_display_roundtrip(display) < 0) return fail("the registry round trip failed");
    if (compositor == NULL || shm == NULL || wm_base == NULL || seat == NULL) return fail("missing globals");

    top_surface = wl_compositor_create_surface(compositor);
    top_xdg = xdg_wm_base_get_xdg_surface(wm_base, top_surface);
    xdg_surface_add_listener(top_xdg, &top_surface_listener, NULL);
    struct xdg_toplevel* toplevel = xdg_surface_get_toplevel(top_xdg);
    xdg_toplevel_add_listener(toplevel, &top_listener, NULL);
    xdg_toplevel_set_title(toplevel, "popup_menu");
    wl_surface_commit(top_surface);
    while (!top_configured) {
        if (wl_display_dispatch(display) < 0) return fail("the toplevel was not configured");
    }
    if (wl_display_roundtrip(display) < 0) return fail("mapping failed");
    say("mapped");

    int menu_told = 0;
    for (;;) {
        if (menu_configured && !menu_told) {
            if (wl_display_roundtrip(display) < 0) return fail("mapping the menu failed");
            menu_told = 1;
            say("popup");
        }
        if (wl_display_flush(display) < 0) return fail("sending failed");
        struct pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {0, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) return fail("poll failed");
        if (fds[1].revents) {
            char line[64];
            if (fgets(line, sizeof line, stdin) == NULL) break;
        }
        if (fds[0].revents && wl_display_dispatch(display) < 0) return fail("the connection broke");
    }
    wl_display_disconnect(display);
    return 0;
}
