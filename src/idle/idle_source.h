#pragma once
// An idle source: what the session offers to tell the watcher that nobody has touched it for a
// while, and that somebody has again. One implementation per kind of session (ext-idle-notify and
// KDE idle on Wayland, mutter's idle monitor on the session bus, the X server's idle time); the
// watcher (idle_watcher.h) knows none of them, only this interface, so unit tests drive it with
// a scripted source.
//
// A source honours the desktop's own inhibitors (video players, browsers): it reports `Idle` only
// while nothing inhibits idling, and reports it late (when the inhibitor goes) rather than never.
#include <cstdint>
#include <memory>
#include <string>

#include "base/session_environment.h"
#include "idle/inhibition.h"

namespace smokedrift::idle {

enum class IdleEvent {
    None,    // nothing the watcher needs to act on (the source handled what it read)
    Idle,    // the session has been idle for the armed time and nothing inhibits it
    Active,  // the user touched the session after an `Idle`
    Gone,    // the session went away (compositor, X server or bus closed): the watcher ends with 255
};

class IdleSource {
public:
    virtual ~IdleSource() = default;

    // What the watcher prints with --verbose: the protocol or service it listens to.
    virtual const char* name() const = 0;

    // Inhibitions that only this source's connection sees but that it does not act on itself,
    // for the watcher to ask about when the session is idle; null when there are none.
    virtual InhibitionCheck* inhibitions() { return nullptr; }

    // The desktop this source is part of, when it is one's own (GNOME's idle monitor), named as
    // XDG_CURRENT_DESKTOP names it; null for a source any session may offer.
    virtual const char* desktop() const { return nullptr; }

    // Starts watching: `Idle` after `milliseconds` without input, `Active` at the next input after
    // that, then `Idle` again after the next such stretch, and so on. False (with one line on
    // stderr) when the session refused.
    virtual bool start(std::uint32_t milliseconds) = 0;

    // The descriptor the watcher sleeps on (poll for reading); the source never needs a timer.
    virtual int fd() const = 0;

    // Events already read off fd() and queued inside the process, where poll() cannot see them:
    // a call made on the same connection (an inhibition's question) may have read them with its
    // answer. The loop asks before each wait and dispatches without waiting when true.
    virtual bool pending() { return false; }

    // Reads what arrived on fd() and returns the next event; called again while it returns
    // something other than `None` (a read can bring several events). It never blocks: the
    // watcher also calls it once right after start(), for what start() may have read already.
    virtual IdleEvent dispatch() = 0;

    // The watcher is about to start the saver: a session that would hide it puts away what is in
    // the way (GNOME Shell's overview). Nothing to do for most.
    virtual void saverStarting() {}
};

// The sources, one file each. Each opener returns null, silently, when the session does not offer
// that source (no such protocol, service or extension), so the watcher can try them in order; it
// prints one line only for a failure past that point.

// Wayland (the session's WAYLAND_DISPLAY): ext_idle_notifier_v1, or else KDE's
// org_kde_kwin_idle. A socket that does not answer is said in `missing`, in place of the protocols.
std::unique_ptr<IdleSource> openWaylandIdleSource(const SessionEnvironment& session, std::string& missing);

// GNOME (Wayland or X11): org.gnome.Mutter.IdleMonitor on the session bus, with the session
// manager's idle inhibitors.
std::unique_ptr<IdleSource> openMutterIdleSource();

// X11 (the session's DISPLAY): the server's idle time, with the clients that suspend or reset its
// saver.
std::unique_ptr<IdleSource> openX11IdleSource(const SessionEnvironment& session);

}  // namespace smokedrift::idle
