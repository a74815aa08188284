// The Wayland backend's connection: made on first use, the globals it offers, outputs, and waiting
// for events. A broken connection ends the process: nothing could be drawn or closed any more.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/wayland/wl_state.h"
#include "xdg-shell-client.h"
#ifdef SMOKEDRIFT_LAYER_SHELL
#include "wlr-layer-shell-unstable-v1-client.h"
#endif

namespace smokedrift::wl {

namespace {

void outputGeometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
                    int32_t transform) {
    static_cast<WlOutput*>(data)->rotated = (transform & 1) != 0;
}

void outputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
    auto* o = static_cast<WlOutput*>(data);
    o->width = width;
    o->height = height;
}

void outputDone(void* data, wl_output*) {
    auto* o = static_cast<WlOutput*>(data);
    if (o->rotated) std::swap(o->width, o->height);
    o->rotated = false;
    o->done = true;
    outputChanged(*o);
}

void outputScale(void* data, wl_output*, int32_t factor) {
    static_cast<WlOutput*>(data)->scale = factor > 0 ? factor : 1;
}

void outputName(void*, wl_output*, const char*) {}
void outputDescription(void*, wl_output*, const char*) {}

const wl_output_listener outputListener = {outputGeometry, outputMode, outputDone,
                                           outputScale,    outputName, outputDescription};

void addOutput(std::uint32_t name, std::uint32_t version) {
    for (WlOutput& o : state().outputs) {
        if (o.output != nullptr) continue;
        o = WlOutput{};
        o.name = name;
        o.output = static_cast<wl_output*>(
            wl_registry_bind(state().registry, name, &wl_output_interface, std::min<std::uint32_t>(version, 2)));
        wl_output_add_listener(o.output, &outputListener, &o);
        return;
    }
}

void removeOutput(std::uint32_t name) {
    WlOutput* o = findOutput(name);
    if (o == nullptr) return;
    for (WlSurface& w : state().surfaces) {
        if (w.handle != nullptr && w.outputName == name) surfaceClosed(w);
    }
    if (name == state().targetOutput) state().outputGone = true;
    wl_output_destroy(o->output);
    *o = WlOutput{};
}

void ping(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }
const xdg_wm_base_listener wmBaseListener = {ping};

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    WlState& s = state();
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && version >= 3) {
        s.compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, std::min<std::uint32_t>(version, 4)));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0) {
        s.wmBase = static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
        xdg_wm_base_add_listener(s.wmBase, &wmBaseListener, nullptr);
#ifdef SMOKEDRIFT_LAYER_SHELL
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        // Some compositors offer an older version than sway's 4; the requests we make are in all.
        s.layerShell = static_cast<zwlr_layer_shell_v1*>(
            wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, std::min<std::uint32_t>(version, 4)));
#endif
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        s.shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0 && version >= 2) {
        addOutput(name, version);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0) {
        addSeat(name, version);
    }
}

void globalRemove(void*, wl_registry*, uint32_t name) {
    removeOutput(name);
    removeSeat(name);
}

const wl_registry_listener registryListener = {global, globalRemove};

void checkConnection() {
    if (wl_display_get_error(state().display) != 0) connectionLost();
}

}  // namespace

WlState& state() {
    static WlState s;
    return s;
}

wl_display* connect(bool report) {
    WlState& s = state();
    if (s.display != nullptr || s.connectFailed) return s.display;
    s.display = wl_display_connect(nullptr);
    if (s.display == nullptr) {
        s.connectFailed = true;
        if (report) {
            const char* name = std::getenv("WAYLAND_DISPLAY");
            std::fprintf(stderr, "Wayland: cannot connect to the compositor \"%s\": %s\n",
                         name != nullptr ? name : "wayland-0", std::strerror(errno));
        }
        return nullptr;
    }
    s.registry = wl_display_get_registry(s.display);
    wl_registry_add_listener(s.registry, &registryListener, nullptr);
    // The globals, then what the outputs and seats tell about themselves.
    wl_display_roundtrip(s.display);
    wl_display_roundtrip(s.display);
    checkConnection();
    if (s.compositor == nullptr || (s.wmBase == nullptr && s.layerShell == nullptr)) {
        if (report) std::fprintf(stderr, "Wayland: the compositor offers no shell to show a window with\n");
        wl_display_disconnect(s.display);
        s.display = nullptr;
        s.connectFailed = true;
        return nullptr;
    }
    posix::installStopHandlers();
    return s.display;
}

wl_display* display() { return connect(true); }

void drawOnOutput(std::uint32_t output, int member, Group* group, bool black) {
    WlState& s = state();
    if (s.display != nullptr) close(wl_display_get_fd(s.display));
    s = WlState{};
    s.targetOutput = output;
    s.member = member;
    s.group = group;
    s.black = black;
}

void connectionLost() {
    // One of a run: the watching process says it once for all.
    if (state().group == nullptr) {
        static const char line[] = "Wayland: lost the connection to the compositor\n";
        [[maybe_unused]] const ssize_t n = write(2, line, sizeof(line) - 1);
    }
    _exit(255);
}

void roundtrip() {
    if (wl_display_roundtrip(state().display) < 0) connectionLost();
}

namespace {

// How long a wait may last: until the caller's timeout, or the look at where the keyboard went.
int waitLimit(int timeoutMs) {
    const std::uint64_t due = state().focusCheckDue;
    if (due == 0) return timeoutMs;
    const std::uint64_t now = posix::nowMilliseconds();
    const int focusWait = due > now ? static_cast<int>(due - now) : 0;
    return timeoutMs < 0 || focusWait < timeoutMs ? focusWait : timeoutMs;
}

void readEvents(int timeoutMs) {
    wl_display* d = state().display;
    if (d == nullptr) return;
    while (wl_display_prepare_read(d) != 0) {
        if (wl_display_dispatch_pending(d) < 0) connectionLost();
    }
    if (wl_display_flush(d) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(d);
        connectionLost();
    }
    pollfd fds[2] = {{wl_display_get_fd(d), POLLIN, 0}, {posix::stopFd(), POLLIN, 0}};
    const int ready = poll(fds, posix::stopFd() >= 0 ? 2 : 1, timeoutMs);
    if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
        if (wl_display_read_events(d) < 0) connectionLost();
    } else {
        wl_display_cancel_read(d);
    }
    if (wl_display_dispatch_pending(d) < 0) connectionLost();
    checkConnection();
}

void checkFocusWhenDue() {
    const WlState& s = state();
    if (s.focusCheckDue != 0 && posix::nowMilliseconds() >= s.focusCheckDue) checkFocus();
}

}  // namespace

void waitEvents(int timeoutMs) {
    readEvents(waitLimit(timeoutMs));
    checkFocusWhenDue();
}

void pumpEvents() {
    checkFocusWhenDue();
    readEvents(0);
}

WlOutput* findOutput(std::uint32_t name) {
    for (WlOutput& o : state().outputs) {
        if (o.output != nullptr && o.name == name) return &o;
    }
    return nullptr;
}

WlOutput* targetOutput() {
    WlState& s = state();
    if (s.targetOutput != 0) return findOutput(s.targetOutput);
    for (WlOutput& o : s.outputs) {
        if (o.output != nullptr && o.done) return &o;
    }
    return nullptr;
}

}  // namespace smokedrift::wl
