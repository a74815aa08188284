#pragma once
// The inhibitions applications hold at our org.freedesktop.ScreenSaver service, without the bus:
// the service (screensaver_service.cpp) hands it each call with the caller's unique name, each
// caller that left the bus, and the loss of the name. Any process of the session can call, so the
// table is bounded (per caller and in all) and keeps only bounded, printable text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "idle/inhibition.h"

namespace smokedrift::idle {

class InhibitionTable {
public:
    static constexpr int MAX_PER_PEER = 16;
    static constexpr int MAX_TOTAL = 256;
    static constexpr std::size_t MAX_TEXT = 64;  // of each application name and reason kept

    // A new inhibition by `peer` (a unique bus name); its cookie, or 0 when the peer or the table
    // holds all it may.
    std::uint32_t inhibit(std::string_view peer, std::string_view application, std::string_view reason);
    // Ends the inhibition `cookie` if `peer` holds it (nobody ends another's).
    bool uninhibit(std::string_view peer, std::uint32_t cookie);
    // The peer left the bus: its inhibitions end.
    void peerLeft(std::string_view peer);
    // The name went to another service: every inhibition ends with it.
    void clear() { entries_.clear(); }

    bool empty() const { return entries_.empty(); }
    int heldBy(std::string_view peer) const;
    // Each inhibition as "'application' (peer): reason", joined by "; ".
    std::string describe() const;
    // Each inhibition, its path named `path`.
    void list(const char* path, std::vector<Inhibitor>& out) const;

private:
    struct Entry {
        std::uint32_t cookie;
        std::string peer, application, reason;
        std::int64_t since;  // wall-clock seconds
    };
    bool inUse(std::uint32_t cookie) const;

    std::vector<Entry> entries_;
    std::uint32_t next_ = 1;
};

}  // namespace smokedrift::idle
