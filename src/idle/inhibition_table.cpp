#include "idle/inhibition_table.h"

#include <algorithm>
#include <ctime>

#include "idle/inhibition.h"

namespace smokedrift::idle {

namespace {

// Unique bus names are short (":1.1234"); a longer one is no bus's.
constexpr std::size_t MAX_PEER = 32;

}  // namespace

std::uint32_t InhibitionTable::inhibit(std::string_view peer, std::string_view application, std::string_view reason) {
    if (peer.empty() || peer.size() > MAX_PEER) return 0;
    if (entries_.size() >= MAX_TOTAL || heldBy(peer) >= MAX_PER_PEER) return 0;
    // Cookies count up, skipping 0 (no cookie) and any still held after a wrap.
    while (next_ == 0 || inUse(next_)) ++next_;
    const std::uint32_t cookie = next_++;
    entries_.push_back({cookie, std::string(peer), printable(application, MAX_TEXT), printable(reason, MAX_TEXT),
                        static_cast<std::int64_t>(std::time(nullptr))});
    return cookie;
}

bool InhibitionTable::uninhibit(std::string_view peer, std::uint32_t cookie) {
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.cookie == cookie; });
    if (it == entries_.end() || it->peer != peer) return false;
    entries_.erase(it);
    return true;
}

void InhibitionTable::peerLeft(std::string_view peer) {
    std::erase_if(entries_, [&](const Entry& e) { return e.peer == peer; });
}

int InhibitionTable::heldBy(std::string_view peer) const {
    return static_cast<int>(
        std::count_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.peer == peer; }));
}

bool InhibitionTable::inUse(std::uint32_t cookie) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.cookie == cookie; });
}

std::string InhibitionTable::describe() const {
    std::string out;
    for (const Entry& e : entries_) appendHolder(out, "'" + e.application + "' (" + e.peer + "): " + e.reason);
    return out;
}

void InhibitionTable::list(const char* path, std::vector<Inhibitor>& out) const {
    for (const Entry& e : entries_) out.push_back({path, e.application, e.reason, e.since});
}

}  // namespace smokedrift::idle
