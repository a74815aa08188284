#include "idle/inhibition.h"

namespace smokedrift::idle {

namespace {

constexpr std::size_t MAX_HOLDERS_TEXT = 400;

}  // namespace

Holding InhibitionChecks::check() {
    Holding all;
    for (InhibitionCheck* c : checks_) {
        const Holding h = c->check();
        if (!h.held) continue;
        all.held = true;
        all.endsSaver = all.endsSaver || h.endsSaver;
        appendHolder(all.holders, h.holders);
        if (h.recheckMs > 0 && (all.recheckMs == 0 || h.recheckMs < all.recheckMs)) all.recheckMs = h.recheckMs;
    }
    return all;
}

std::string printable(std::string_view text, std::size_t limit) {
    std::size_t end = text.size();
    if (end > limit) {
        end = limit;
        // Back to the first byte of the character the limit falls in.
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    }
    std::string out(text.substr(0, end));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c < 0x20 || c == 0x7F) {
            out[i] = '?';
        } else if (c == 0xC2 && i + 1 < out.size() && static_cast<unsigned char>(out[i + 1]) < 0xA0) {
            out.replace(i, 2, "?");  // U+0080..U+009F
        }
    }
    return out;
}

void appendHolder(std::string& list, std::string_view entry) {
    if (list == "..." || list.ends_with("; ...")) return;
    if (list.size() + entry.size() > MAX_HOLDERS_TEXT) {
        list += list.empty() ? "..." : "; ...";
        return;
    }
    if (!list.empty()) list += "; ";
    list += entry;
}

}  // namespace smokedrift::idle
