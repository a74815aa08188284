#pragma once
// The watcher's one wait. Each thing it listens to (the idle source, the signals, the buses, the
// timers) is a watch: the descriptor to poll, a hook that says whether work already waits inside
// the process, and what to do with it. A library that reads more than it was asked for (Xlib's
// round trip, sd-bus's call, libwayland's roundtrip) leaves the rest in its own queue, where
// poll() cannot see it; the hooks are asked before every wait, and a watch with work is
// dispatched without waiting. So no event sits unread because an unrelated call read it.
#include <poll.h>

#include <functional>
#include <vector>

struct sd_bus;

namespace smokedrift::idle {

struct LoopWatch {
    // The descriptor and the events to wait for; fd -1: nothing to wait for now.
    std::function<pollfd()> wait;
    // Work queued where poll() cannot see it; null for a descriptor without such a queue.
    std::function<bool()> pending;
    // Takes, without blocking, what arrived (`revents` from poll, 0 when the hook said so); false
    // ends the turn: the watcher has its answer.
    std::function<bool(short revents)> dispatch;
};

class EventLoop {
public:
    void add(LoopWatch watch) { watches_.push_back(std::move(watch)); }

    // One turn: asks every hook, waits in poll() (only looks when a hook said yes), and dispatches
    // each watch with work, in the order they were added, until one returns false. False when
    // poll failed (errno says why; EINTR is worth another turn).
    bool turn();

private:
    std::vector<LoopWatch> watches_;
    std::vector<pollfd> fds_;
    std::vector<bool> queued_;
};

// The hook for an sd-bus connection: what sd-bus holds that poll() cannot show (messages it read
// while a call waited for its answer, a peer's track to hand out, a reply whose time passed).
bool busPending(sd_bus* bus);

}  // namespace smokedrift::idle
