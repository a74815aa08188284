#pragma once
// What keeps the saver from starting although the session is idle: players and browsers that ask
// the desktop not to blank, in whatever way they ask (the freedesktop ScreenSaver service, logind's
// idle locks, Plasma's power manager, the X server's saver switched off). The idle sources honour
// only what their own protocol carries; these are asked once the source reports `Idle`, and again
// while the session stays idle and inhibited: when one announces a change, or after `recheckMs`
// for those that announce nothing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace smokedrift::idle {

// How often a held inhibition that announces no change is asked about again: a few seconds late
// at its end, a handful of wake-ups a minute while idle and inhibited, none otherwise.
inline constexpr int RECHECK_MS = 5000;

struct Holding {
    bool held = false;
    std::string holders;     // who holds it and why, for --verbose; printable and bounded
    int recheckMs = 0;       // > 0: nothing announces the end, ask again after this long
    bool endsSaver = false;  // the desktop's own lock or blank is up: a saver under it is unseen
};

// One inhibition as far as its check can tell, for `smokedrift --status`.
struct Inhibitor {
    std::string path;    // the way it is held: "org.freedesktop.ScreenSaver", "logind", ...
    std::string holder;  // the application or program; printable and bounded, like `reason`
    std::string reason;
    std::int64_t since = 0;  // wall-clock seconds; 0: not known
};

class InhibitionCheck {
public:
    virtual ~InhibitionCheck() = default;
    virtual Holding check() = 0;
    // Each inhibition held now. A check that knows no more than its holders' text gives that as
    // one inhibitor without a path.
    virtual void list(std::vector<Inhibitor>& out) {
        const Holding h = check();
        if (h.held) out.push_back({"", h.holders, "", 0});
    }
};

// Several checks as one: held when any is, naming every holder, asked again at the soonest.
class InhibitionChecks final : public InhibitionCheck {
public:
    void add(InhibitionCheck* check) {
        if (check != nullptr) checks_.push_back(check);
    }
    Holding check() override;
    void list(std::vector<Inhibitor>& out) override {
        for (InhibitionCheck* c : checks_) c->list(out);
    }

private:
    std::vector<InhibitionCheck*> checks_;
};

// Text that came from another process, fit for a log line: at most `limit` bytes, cut on a
// character boundary, control characters (C0, DEL and C1, which terminals obey) as '?'.
std::string printable(std::string_view text, std::size_t limit);

// Adds "; " and `entry` to `list` while the list stays below a few lines' worth.
void appendHolder(std::string& list, std::string_view entry);

}  // namespace smokedrift::idle
