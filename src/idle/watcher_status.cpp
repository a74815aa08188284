#include "idle/watcher_status.h"

#include <charconv>
#include <ctime>

namespace smokedrift::idle {

namespace {

struct StateRow {
    ControlState state;
    const char* word;  // on the bus, in JSON and a status bar's class
    const char* text;  // for a person
};

constexpr StateRow STATES[] = {
    {ControlState::Waiting, "waiting", "waiting for the session to be idle"},
    {ControlState::Idle, "idle", "idle; the saver ran and waits for the user to come back"},
    {ControlState::HeldOff, "held-off", "idle, but held off"},
    {ControlState::SaverRunning, "saver-running", "the saver runs"},
    {ControlState::Paused, "paused", "paused"},
};

const StateRow& row(ControlState state) {
    for (const StateRow& r : STATES)
        if (r.state == state) return r;
    return STATES[0];
}

std::string clock(std::int64_t when) { return localTime(when, "%H:%M"); }

// "90 s", "5 min", "2 h 5 min": at a glance, not to the second past a minute.
std::string span(std::int64_t seconds) {
    if (seconds < 120) return std::to_string(seconds) + " s";
    if (seconds < 3600) return std::to_string(seconds / 60) + " min";
    const std::int64_t minutes = (seconds % 3600) / 60;
    return std::to_string(seconds / 3600) + " h" + (minutes != 0 ? " " + std::to_string(minutes) + " min" : "");
}

std::string inhibitorLine(const Inhibitor& i) {
    std::string line = i.holder.empty() ? "(unnamed)" : i.holder;
    if (!i.path.empty()) line += " (" + i.path + ")";
    if (!i.reason.empty()) line += ": " + i.reason;
    if (i.since != 0) line += ", since " + clock(i.since);
    return line;
}

// When the saver starts, as far as the watcher can tell.
std::string whenText(const WatcherStatus& s, std::int64_t now) {
    switch (s.state) {
    case ControlState::SaverRunning: return "input ends it";
    case ControlState::Paused:
        return "paused until " + clock(s.pausedUntil) + " (" + span(s.pausedUntil > now ? s.pausedUntil - now : 0) +
               "); smokedrift --resume ends the pause";
    case ControlState::HeldOff: return "the saver starts when the last of these lets go";
    case ControlState::Idle: return "the saver starts after the user comes back and leaves for " + span(s.idleTime);
    case ControlState::Waiting: break;
    }
    // Inhibitions are asked once the session is idle: held now, they will hold the saver off then.
    const std::string held = s.inhibitions.empty() ? "" : ", once these let go";
    if (s.secondsUntilSaver >= 0) return "the saver starts in " + span(s.secondsUntilSaver) + " without input" + held;
    return "the saver starts after " + span(s.idleTime) + " without input" + held;
}

void jsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (u < 0x20 || u == 0x7F) {
            static constexpr char HEX[] = "0123456789abcdef";
            out += "\\u00";
            out += HEX[u >> 4];
            out += HEX[u & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

void jsonField(std::string& out, const char* name, std::string_view value) {
    if (out.size() > 1) out += ',';
    jsonString(out, name);
    out += ':';
    jsonString(out, value);
}

void jsonNumber(std::string& out, const char* name, std::int64_t value, bool known) {
    if (out.size() > 1) out += ',';
    jsonString(out, name);
    out += ':';
    out += known ? std::to_string(value) : "null";
}

}  // namespace

std::string localTime(std::int64_t when, const char* format) {
    const auto t = static_cast<std::time_t>(when);
    std::tm local{};
    char text[32] = "?";
    if (localtime_r(&t, &local) == nullptr || std::strftime(text, sizeof text, format, &local) == 0) return "?";
    return text;
}

const char* stateWord(ControlState state) { return row(state).word; }

std::optional<ControlState> stateFromWord(std::string_view word) {
    for (const StateRow& r : STATES)
        if (word == r.word) return r.state;
    return std::nullopt;
}

std::optional<long> parseDuration(std::string_view text) {
    long unit = 1;
    if (!text.empty()) {
        switch (text.back()) {
        case 'h': unit = 3600; break;
        case 'm': unit = 60; break;
        case 's': unit = 1; break;
        default: unit = 0; break;
        }
        if (unit != 0)
            text.remove_suffix(1);
        else
            unit = 1;
    }
    long value = 0;
    const char* end = text.data() + text.size();
    // from_chars takes a leading '-'; a pause has no sign.
    if (text.empty() || text.front() == '-') return std::nullopt;
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 1 || value > MAX_PAUSE_SECONDS / unit) return std::nullopt;
    return value * unit;
}

std::string statusText(const WatcherStatus& s, std::int64_t now) {
    std::string out = "smokedrift watcher: " + std::string(row(s.state).text) + "\n";
    out += "  idle source: " + s.source + ", idle time " + span(s.idleTime);
    if (s.idleSeconds >= 0) out += "; idle for " + span(s.idleSeconds);
    out += "\n";
    for (const Inhibitor& i : s.inhibitions) out += "  held off by " + inhibitorLine(i) + "\n";
    if (!s.desktopTimer.empty()) out += "  first: " + s.desktopTimer + "\n";
    out += "  " + whenText(s, now) + "\n";
    return out;
}

std::string statusJson(const WatcherStatus& s, std::int64_t now) {
    std::string out = "{";
    jsonField(out, "state", stateWord(s.state));
    jsonField(out, "source", s.source);
    jsonNumber(out, "idle_time", s.idleTime, true);
    jsonNumber(out, "idle_seconds", s.idleSeconds, s.idleSeconds >= 0);
    jsonNumber(out, "seconds_until_saver", s.secondsUntilSaver, s.secondsUntilSaver >= 0);
    out += ",\"paused\":";
    out += s.pausedUntil != 0 ? "true" : "false";
    jsonNumber(out, "paused_until", s.pausedUntil, s.pausedUntil != 0);
    jsonField(out, "desktop_timer", s.desktopTimer);
    out += ",\"inhibitions\":[";
    for (std::size_t n = 0; n < s.inhibitions.size(); ++n) {
        const Inhibitor& i = s.inhibitions[n];
        std::string one = "{";
        jsonField(one, "path", i.path);
        jsonField(one, "holder", i.holder);
        jsonField(one, "reason", i.reason);
        jsonNumber(one, "since", i.since, i.since != 0);
        out += (n > 0 ? "," : "") + one + "}";
    }
    out += "]";
    // What a status bar shows: the state in a few words, the whole status on hover.
    std::string text = row(s.state).word;
    if (s.state == ControlState::Paused) text = "paused until " + clock(s.pausedUntil);
    jsonField(out, "text", text);
    jsonField(out, "alt", stateWord(s.state));
    jsonField(out, "class", stateWord(s.state));
    std::string tooltip = statusText(s, now);
    if (!tooltip.empty()) tooltip.pop_back();
    jsonField(out, "tooltip", tooltip);
    return out + "}";
}

}  // namespace smokedrift::idle
