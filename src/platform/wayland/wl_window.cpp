// Windows on Wayland: a top-level pop-up becomes a surface covering this process's output, a
// layer-shell overlay where the compositor offers one, a full-screen xdg toplevel elsewhere.
// Nothing else has a place here: child windows (previews) and dialogs are X11's.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/wayland/wl_state.h"
#include "xdg-shell-client.h"
#ifdef SMOKEDRIFT_LAYER_SHELL
#include "wlr-layer-shell-unstable-v1-client.h"
#endif

namespace smokedrift::wl {

WlSurface* findSurface(HWND window) {
    if (window == nullptr) return nullptr;
    for (WlSurface& w : state().surfaces) {
        if (w.handle == window) return &w;
    }
    return nullptr;
}

WlSurface* surfaceOf(wl_surface* surface) {
    for (WlSurface& w : state().surfaces) {
        if (w.handle != nullptr && w.surface == surface) return &w;
    }
    return nullptr;
}

void surfaceClosed(WlSurface& w) {
    if (w.closing) return;
    w.closing = true;
    platform::post(w.handle, WM_CLOSE, 0, 0);
}

namespace {

// A buffer of zeros the surface's size: black and opaque in XRGB. Its sides are at most
// MAX_SURFACE_SIDE, so its size fits a pool's int32.
wl_buffer* blackBuffer(int width, int height) {
    const int stride = width * 4;
    const off_t size = static_cast<off_t>(stride) * height;
    const int fd = memfd_create("smokedrift-black", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    wl_buffer* buffer = nullptr;
    if (ftruncate(fd, size) == 0) {
        wl_shm_pool* pool = wl_shm_create_pool(state().shm, fd, static_cast<int32_t>(size));
        buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
        wl_shm_pool_destroy(pool);
    }
    close(fd);
    return buffer;
}

// A surface nothing draws into (an output past the scene limit) shows black, as an X window's
// background does: one untouched shared-memory buffer, no OpenGL.
void showBlack(WlSurface& w) {
    if (w.pixelFormat != 0 || w.width <= 0 || w.height <= 0 || state().shm == nullptr) return;
    wl_buffer* buffer = blackBuffer(w.width, w.height);
    if (buffer == nullptr) return;
    wl_surface_attach(w.surface, buffer, 0, 0);
    wl_surface_damage(w.surface, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_commit(w.surface);
    // The compositor keeps what it was shown; the old buffer is not needed any more.
    if (w.blackBuffer != nullptr) wl_buffer_destroy(w.blackBuffer);
    w.blackBuffer = buffer;
    surfaceShown(w);
}

// The pixels of `logical` surface units at `scale`, both the compositor's: none when either is not
// positive, and never more than a surface can have.
int surfacePixels(int logical, int scale) {
    if (logical <= 0 || scale <= 0) return 0;
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{logical} * scale, MAX_SURFACE_SIDE));
}

}  // namespace

void surfaceResized(WlSurface& w, int width, int height) {
    if (width <= 0 || height <= 0 || (width == w.width && height == w.height)) return;
    w.width = width;
    w.height = height;
    resizeDrawable(w);
    if (w.blackBuffer != nullptr) showBlack(w);
    platform::resized(w.handle, width, height);
}

namespace {

void firstFrameHandled(void* data, wl_callback* callback, uint32_t) {
    auto* w = static_cast<WlSurface*>(data);
    wl_callback_destroy(callback);
    w->settling = nullptr;
    w->settled = true;
}

const wl_callback_listener settleListener = {firstFrameHandled};

}  // namespace

void surfaceShown(WlSurface& w) {
    if (w.settled || w.settling != nullptr) return;
    w.settling = wl_display_sync(state().display);
    wl_callback_add_listener(w.settling, &settleListener, &w);
}

// A scale changed while the window is shown: buffers of the new scale, as many pixels as that
// gives for the size the window has (the compositor may send a new one too, or not).
void outputChanged(const WlOutput& output) {
    for (WlSurface& w : state().surfaces) {
        if (w.handle == nullptr || w.outputName != output.name || w.scale == output.scale) continue;
        w.scale = output.scale;
        wl_surface_set_buffer_scale(w.surface, w.scale);
        if (w.configured)
            surfaceResized(w, surfacePixels(w.logicalWidth, w.scale), surfacePixels(w.logicalHeight, w.scale));
    }
}

namespace {

// A configure's size is in the surface's own units; the window is measured in pixels.
void configured(WlSurface& w, int width, int height) {
    if (width <= 0 || height <= 0) {
        // Ours to choose (sway's first configure of a toplevel): the output's size.
        if (const WlOutput* o = findOutput(w.outputName)) {
            width = o->width / w.scale;
            height = o->height / w.scale;
        }
    }
    w.logicalWidth = width;
    w.logicalHeight = height;
    const int pixelsWide = surfacePixels(width, w.scale);
    const int pixelsHigh = surfacePixels(height, w.scale);
    if (!w.configured) {
        w.configured = true;
        if (pixelsWide > 0) w.width = pixelsWide;
        if (pixelsHigh > 0) w.height = pixelsHigh;
        return;
    }
    surfaceResized(w, pixelsWide, pixelsHigh);
}

#ifdef SMOKEDRIFT_LAYER_SHELL
void layerConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width, uint32_t height) {
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    configured(*static_cast<WlSurface*>(data), static_cast<int>(width), static_cast<int>(height));
}

// The compositor takes a layer surface away when its output goes (before it says the output went)
// or when it will not show it any longer: either way this output is no longer this process's.
void layerClosed(void* data, zwlr_layer_surface_v1*) {
    state().outputGone = true;
    surfaceClosed(*static_cast<WlSurface*>(data));
}

const zwlr_layer_surface_v1_listener layerListener = {layerConfigure, layerClosed};
#endif

void toplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    auto* w = static_cast<WlSurface*>(data);
    w->pendingWidth = width;
    w->pendingHeight = height;
}

void toplevelClose(void* data, xdg_toplevel*) { surfaceClosed(*static_cast<WlSurface*>(data)); }

void toplevelBounds(void*, xdg_toplevel*, int32_t, int32_t) {}
void toplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}

const xdg_toplevel_listener toplevelListener = {toplevelConfigure, toplevelClose, toplevelBounds, toplevelCapabilities};

void surfaceConfigure(void* data, xdg_surface* surface, uint32_t serial) {
    xdg_surface_ack_configure(surface, serial);
    auto* w = static_cast<WlSurface*>(data);
    configured(*w, w->pendingWidth, w->pendingHeight);
}

const xdg_surface_listener xdgSurfaceListener = {surfaceConfigure};

void dropSurface(WlSurface& w) {
    releaseDrawable(w);
    if (w.blackBuffer != nullptr) wl_buffer_destroy(w.blackBuffer);
    if (w.settling != nullptr) wl_callback_destroy(w.settling);
#ifdef SMOKEDRIFT_LAYER_SHELL
    if (w.layer != nullptr) zwlr_layer_surface_v1_destroy(w.layer);
#endif
    if (w.toplevel != nullptr) xdg_toplevel_destroy(w.toplevel);
    if (w.xdgSurface != nullptr) xdg_surface_destroy(w.xdgSurface);
    if (w.surface != nullptr) wl_surface_destroy(w.surface);
    w = WlSurface{};
}

// The role that puts the surface over the whole output, above everything else.
void giveRole(WlSurface& w, const WlOutput& output, LPCSTR title) {
    WlState& s = state();
#ifdef SMOKEDRIFT_LAYER_SHELL
    if (s.layerShell != nullptr) {
        w.layer = zwlr_layer_shell_v1_get_layer_surface(s.layerShell, w.surface, output.output,
                                                        ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "smokedrift");
        zwlr_layer_surface_v1_add_listener(w.layer, &layerListener, &w);
        zwlr_layer_surface_v1_set_anchor(w.layer,
                                         ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                             ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
        // -1: over panels too, not beside them.
        zwlr_layer_surface_v1_set_exclusive_zone(w.layer, -1);
        zwlr_layer_surface_v1_set_keyboard_interactivity(w.layer, 1);
        zwlr_layer_surface_v1_set_size(w.layer, 0, 0);
        return;
    }
#endif
    w.xdgSurface = xdg_wm_base_get_xdg_surface(s.wmBase, w.surface);
    xdg_surface_add_listener(w.xdgSurface, &xdgSurfaceListener, &w);
    w.toplevel = xdg_surface_get_toplevel(w.xdgSurface);
    xdg_toplevel_add_listener(w.toplevel, &toplevelListener, &w);
    xdg_toplevel_set_title(w.toplevel, title != nullptr ? title : "smokedrift");
    xdg_toplevel_set_app_id(w.toplevel, "smokedrift");
    xdg_toplevel_set_fullscreen(w.toplevel, output.output);
}

}  // namespace

HWND createSurface(platform::SurfaceRequest& request) {
    WlState& s = state();
    const WlOutput* output = targetOutput();
    if (display() == nullptr || request.role == platform::SurfaceRole::Preview) return nullptr;
    if (s.black && s.shm == nullptr) {
        std::fprintf(stderr, "Wayland: the compositor offers no shared memory to cover an output with\n");
        return nullptr;
    }
    if (output == nullptr) {
        s.outputGone = true;
        return nullptr;
    }
    WlSurface* w = nullptr;
    for (int i = 0; w == nullptr && i < MAX_WL_SURFACES; ++i) {
        if (s.surfaces[i].handle == nullptr) w = &s.surfaces[i];
    }
    if (w == nullptr) return nullptr;
    *w = WlSurface{};
    w->handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(1 + (w - s.surfaces)));
    w->outputName = output->name;
    w->scale = output->scale;
    w->width = std::clamp(request.width, 0, MAX_SURFACE_SIDE);
    w->height = std::clamp(request.height, 0, MAX_SURFACE_SIDE);
    w->surface = wl_compositor_create_surface(s.compositor);
    wl_surface_set_buffer_scale(w->surface, w->scale);
    // The picture has no holes: the compositor need not draw what lies under it.
    wl_region* opaque = wl_compositor_create_region(s.compositor);
    wl_region_add(opaque, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_set_opaque_region(w->surface, opaque);
    wl_region_destroy(opaque);
    giveRole(*w, *output, request.title);
    wl_surface_commit(w->surface);
    while (!w->configured && !w->closing) roundtrip();
    if (w->closing) {
        dropSurface(*w);
        return nullptr;
    }
    request.width = w->width;
    request.height = w->height;
    wl_display_flush(s.display);
    return w->handle;
}

// The first frame is asked for at once: nothing else would expose a new surface.
void showSurface(HWND window) {
    if (WlSurface* w = findSurface(window)) showBlack(*w);
    platform::invalidate(window);
}

void destroySurface(HWND window) {
    if (WlSurface* w = findSurface(window)) dropSurface(*w);
    wl_display_flush(state().display);
}

// The desktop is the output this process covers.
bool otherWindow(HWND window, platform::OtherWindow* info) {
    const WlOutput* o = window == desktopHandle() ? targetOutput() : nullptr;
    if (o == nullptr) return false;
    *info = platform::OtherWindow{nullptr, o->width, o->height};
    return true;
}

HWND foreground() { return state().keyboardWindow; }

// The compositor hands out the focus; a layer surface asks for the keyboard when it is made.
bool setForeground(HWND window) { return findSurface(window) != nullptr; }

bool cursorPos(POINT* point) {
    *point = state().cursor;
    return true;
}

int clipBox(HWND window, RECT* rect) {
    const WlSurface* w = findSurface(window);
    platform::OtherWindow desktop;
    if (w != nullptr) {
        *rect = RECT{0, 0, w->width, w->height};
    } else if (otherWindow(window, &desktop)) {
        *rect = RECT{0, 0, desktop.width, desktop.height};
    } else {
        return ERROR;
    }
    // The frames drawn have not been shown yet (or the output is off): a new one would be wasted.
    if (w != nullptr && w->framesInFlight[0] != nullptr && w->framesInFlight[1] != nullptr) return NULLREGION;
    return SIMPLEREGION;
}

}  // namespace smokedrift::wl
