#include "idle/idle_source_choice.h"

#include "idle/idle_source.h"

namespace smokedrift::idle {

std::unique_ptr<IdleSource> chooseIdleSource(const std::vector<SourceCandidate>& candidates, std::string& missing) {
    missing.clear();
    for (const SourceCandidate& c : candidates) {
        std::string why = c.missing;
        if (std::unique_ptr<IdleSource> source = c.open(why)) return source;
        missing += (missing.empty() ? "" : "; ") + why;
    }
    missing = "--idle: the session offers no idle source: " + missing;
    return nullptr;
}

std::vector<SourceCandidate> sessionCandidates(const SessionEnvironment& session) {
    const std::string& wayland = session.waylandDisplay;
    const std::string& x11 = session.x11Display;
    return {
        {[&session](std::string& missing) { return openWaylandIdleSource(session, missing); },
         !wayland.empty()
             ? "the Wayland compositor (" + wayland + ") offers neither ext_idle_notifier_v1 nor org_kde_kwin_idle"
             : std::string("no Wayland display (WAYLAND_DISPLAY)")},
        {[](std::string&) { return openMutterIdleSource(); },
         "no GNOME idle monitor (org.gnome.Mutter.IdleMonitor) on the session bus"},
        {[&session](std::string&) { return openX11IdleSource(session); },
         !x11.empty() ? "the X server (" + x11 + ") does not answer or lacks its idle extensions"
                      : std::string("no X11 display (DISPLAY)")},
    };
}

WaylandIdleProtocol chooseWaylandIdleProtocol(bool extIdleNotify, bool kdeIdle) {
    if (extIdleNotify) return WaylandIdleProtocol::ExtIdleNotify;
    if (kdeIdle) return WaylandIdleProtocol::KdeIdle;
    return WaylandIdleProtocol::None;
}

}  // namespace smokedrift::idle
