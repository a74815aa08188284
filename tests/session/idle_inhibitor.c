/* A stand-in video player: a small window that holds a zwp_idle_inhibitor_v1 on its surface, so
   the compositor does not go idle while the window shows. Prints "ready" once the window has
   drawn and the inhibitor is made, then stays until its stdin ends (or it is killed). */
#define _GNU_SOURCE
#include "idle-inhibit-unstable-v1-client.h"
#include "session-xdg-shell-client.h"

#include <poll.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

enum { WIDTH = 160, HEIGHT = 120 };

static struct wl_compositor* compositor;
static struct wl_shm* shm;
static struct xdg_wm_base* wm_base;
static struct zwp_idle_inhibit_manager_v1* inhibit_manager;
static int configured;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, wl_compositor_interface.name) == 0) {
        compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 1);
    } else if (strcmp(interface, wl_shm_interface.name) == 0) {
        shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    } else if (strcmp(interface, xdg_wm_base_interface.name) == 0) {
        wm_base = wl_registry_bind(registry, name, &xdg_wm_base_interface, 1);
    } else if (strcmp(interface, zwp_idle_inhibit_manager_v1_interface.name) == 0) {
        inhibit_manager = wl_registry_bind(registry, name, &zwp_idle_inhibit_manager_v1_interface, 1);
    }
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static void ping(void* data, struct xdg_wm_base* base, uint32_t serial) {
    (void)data;
    xdg_wm_base_pong(base, serial);
}

static const struct xdg_wm_base_listener wm_base_listener = {ping};

static void surface_configure(void* data, struct xdg_surface* surface, uint32_t serial) {
    (void)data;
    xdg_surface_ack_configure(surface, serial);
    configured = 1;
}

static const struct xdg_surface_listener surface_listener = {surface_configure};

static int fail(const char* what) {
    fprintf(stderr, "idle_inhibitor: %s\n", what);
    return 1;
}

/* A grey buffer of the window's size. */
static struct wl_buffer* grey_buffer(void) {
    const int stride = WIDTH * 4, size = stride * HEIGHT;
    int fd = memfd_create("idle-inhibitor", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) != 0) return NULL;
    void* pixels = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) return NULL;
    memset(pixels, 0x80, size);
    munmap(pixels, size);
    struct wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
    struct wl_buffer* buffer = wl_shm_pool_create_buffer(pool, 0, WIDTH, HEIGHT, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) return fail("cannot connect to the Wayland display");
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    if (wl_display_roundtrip(display) < 0) return fail("the registry round trip failed");
    if (compositor == NULL || shm == NULL || wm_base == NULL) return fail("no compositor, shm or xdg_wm_base");
    if (inhibit_manager == NULL) return fail("the compositor offers no zwp_idle_inhibit_manager_v1");
    xdg_wm_base_add_listener(wm_base, &wm_base_listener, NULL);

    struct wl_surface* surface = wl_compositor_create_surface(compositor);
    struct xdg_surface* xdg = xdg_wm_base_get_xdg_surface(wm_base, surface);
    xdg_surface_add_listener(xdg, &surface_listener, NULL);
    struct xdg_toplevel* toplevel = xdg_surface_get_toplevel(xdg);
    xdg_toplevel_set_title(toplevel, "idle inhibitor");
    wl_surface_commit(surface);
    while (!configured) {
        if (wl_display_dispatch(display) < 0) return fail("the compositor went away");
    }
    struct wl_buffer* buffer = grey_buffer();
    if (buffer == NULL) return fail("cannot make a buffer");
    zwp_idle_inhibit_manager_v1_create_inhibitor(inhibit_manager, surface);
    wl_surface_attach(surface, buffer, 0, 0);
    wl_surface_damage(surface, 0, 0, WIDTH, HEIGHT);
    wl_surface_commit(surface);
    if (wl_display_roundtrip(display) < 0) return fail("the compositor went away");
    printf("ready\n");
    fflush(stdout);

    /* Serves the compositor (pings, configures) until stdin ends. */
    struct pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {0, POLLIN, 0}};
    for (;;) {
        wl_display_flush(display);
        if (poll(fds, 2, -1) < 0) return fail("poll failed");
        if (fds[1].revents) {
            char byte;
            if (read(0, &byte, 1) <= 0) break;
        }
        if (fds[0].revents && wl_display_dispatch(display) < 0) return fail("the compositor went away");
    }
    wl_display_disconnect(display);
    return 0;
}
