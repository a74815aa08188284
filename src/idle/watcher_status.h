#pragma once
// What the watcher's control interface says about it, apart from the bus: its state as one word,
// the durations `smokedrift --pause` takes, and the status as a person reads it (--status) and as a
// script or a status bar does (--json, one object a line). The service (control_service.cpp) fills
// a WatcherStatus from the loop; the client (src/main/control_client.cpp) from the bus.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "idle/inhibition.h"

namespace smokedrift::idle {

enum class ControlState {
    Waiting,  // for the session to be idle
    Idle,     // the saver ran and ended; the user is not back yet
    HeldOff,  // idle, but an inhibition keeps the saver off
    SaverRunning,
    Paused,  // smokedrift --pause, until it ends or --resume
};

// The word on the bus and in JSON ("held-off"), and back; nullopt for a word of no state.
const char* stateWord(ControlState state);
std::optional<ControlState> stateFromWord(std::string_view word);

// The longest pause: a week; a pause "for ever" is stopping the watcher.
inline constexpr long MAX_PAUSE_SECONDS = 7L * 24 * 60 * 60;

// "1h", "30m", "90s" or plain seconds, from 1 s to MAX_PAUSE_SECONDS; nullopt otherwise (0, a sign,
// another unit, blanks, overflow).
std::optional<long> parseDuration(std::string_view text);

struct WatcherStatus {
    ControlState state = ControlState::Waiting;
    std::string source;                   // the idle source's name
    std::int64_t idleTime = 0;            // the watcher's --idle seconds
    std::int64_t idleSeconds = -1;        // how long the session has been idle; -1: the source cannot tell
    std::int64_t secondsUntilSaver = -1;  // -1: not known (held off, or the source cannot tell)
    std::int64_t pausedUntil = 0;         // wall-clock seconds; 0: not paused
    std::string desktopTimer;             // a blank or lock of the desktop that comes first, or empty
    std::vector<Inhibitor> inhibitions;
};

// `when` (wall-clock seconds) in the local time zone, by strftime's `format`.
std::string localTime(std::int64_t when, const char* format);

// A few lines for a person; `now` and the times in `status` are wall-clock seconds, shown in the
// local time zone.
std::string statusText(const WatcherStatus& status, std::int64_t now);
// One JSON object on one line (no newline), with the fields of waybar's custom modules ("text",
// "alt", "class", "tooltip") beside the status's own.
std::string statusJson(const WatcherStatus& status, std::int64_t now);

}  // namespace smokedrift::idle
