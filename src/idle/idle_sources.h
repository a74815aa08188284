#pragma once
// The idle sources the watcher can listen to, one file each. Each opener returns null, silently,
// when the session does not offer that source (no such protocol, service or extension), so the
// watcher can try them in order; it prints one line only for a failure past that point.
#include <memory>
#include <string>

#include "idle/idle_source.h"

namespace smokedrift::idle {

// Wayland ($WAYLAND_DISPLAY): ext_idle_notifier_v1, or else KDE's org_kde_kwin_idle. A socket
// that does not answer is said in `missing`, in place of the protocols.
std::unique_ptr<IdleSource> openWaylandIdleSource(std::string& missing);

// GNOME (Wayland or X11): org.gnome.Mutter.IdleMonitor on the session bus, with the session
// manager's idle inhibitors.
std::unique_ptr<IdleSource> openMutterIdleSource();

// X11 ($DISPLAY): the server's idle time, with the clients that suspend or reset its saver.
std::unique_ptr<IdleSource> openX11IdleSource();

}  // namespace smokedrift::idle
