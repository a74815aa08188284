#include "idle/event_loop.h"

#include <systemd/sd-bus.h>
#include <time.h>

#include <cstdint>

namespace smokedrift::idle {

bool EventLoop::turn() {
    fds_.resize(watches_.size());
    queued_.assign(watches_.size(), false);
    bool any = false;
    for (std::size_t i = 0; i < watches_.size(); ++i) {
        fds_[i] = watches_[i].wait();
        fds_[i].revents = 0;
        queued_[i] = watches_[i].pending && watches_[i].pending();
        any = any || queued_[i];
    }
    if (poll(fds_.data(), fds_.size(), any ? 0 : -1) < 0) return false;
    for (std::size_t i = 0; i < watches_.size(); ++i) {
        if ((queued_[i] || fds_[i].revents != 0) && !watches_[i].dispatch(fds_[i].revents)) break;
    }
    return true;
}

bool busPending(sd_bus* bus) {
    // sd-bus says "now" (0) for what it queued, else the absolute CLOCK_MONOTONIC time of the
    // soonest reply it waits for.
    std::uint64_t at = 0;
    if (sd_bus_get_timeout(bus, &at) <= 0) return false;
    if (at == 0) return true;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return at <= static_cast<std::uint64_t>(now.tv_sec) * 1000000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000u;
}

}  // namespace smokedrift::idle
