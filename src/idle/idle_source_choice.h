#pragma once
// Which idle source the watcher listens to: chosen once at start, the first the session offers in
// a fixed order (Wayland's ext-idle-notify, then KDE's idle protocol, then GNOME's idle monitor,
// then the X server), so that the answer depends on the session alone. Without any, one line
// names what is missing.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "idle/idle_source.h"

namespace smokedrift::idle {

// One place to look: what opens it (null when the session lacks it, silently) and what to say
// about it when every place was tried in vain (which the opener may replace with a closer reason).
struct SourceCandidate {
    std::function<std::unique_ptr<IdleSource>(std::string& missing)> open;
    std::string missing;
};

// The first candidate that opens, trying them in order and no further; null with `missing` set to
// one line naming what each lacked.
std::unique_ptr<IdleSource> chooseIdleSource(const std::vector<SourceCandidate>& candidates, std::string& missing);

// The session's candidates in their order, opened and described from its environment; the
// candidates refer to `session`, which outlives them.
std::vector<SourceCandidate> sessionCandidates(const SessionEnvironment& session);

// On Wayland, of the two idle protocols a compositor may offer.
enum class WaylandIdleProtocol { None, ExtIdleNotify, KdeIdle };
WaylandIdleProtocol chooseWaylandIdleProtocol(bool extIdleNotify, bool kdeIdle);

}  // namespace smokedrift::idle
