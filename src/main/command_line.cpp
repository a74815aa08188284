#include "main/command_line.h"

#include <algorithm>

#include "base/arguments.h"
#include "idle/watcher_status.h"
#include "main/hack_options.h"
#include "main/xscreensaver_args.h"

namespace smokedrift {

namespace {

bool has(const std::vector<std::string>& args, const char* word) {
    return std::find(args.begin(), args.end(), word) != args.end();
}

LinuxCommand refused(LinuxMode mode, std::string error) {
    LinuxCommand c;
    c.mode = mode;
    c.error = std::move(error);
    c.refusedCode = mode == LinuxMode::Saver || mode == LinuxMode::Idle ? SAVER_REFUSED : HEADLESS_REFUSED;
    return c;
}

int windowSystemOf(std::span<const char* const> switches, const std::string& word) {
    for (std::size_t i = 0; i < switches.size(); ++i)
        if (word == switches[i]) return static_cast<int>(i);
    return -1;
}

// The request of the words left for the host: xscreensaver's ways of naming a window, or else the
// Windows-style switch ("/s", "-p ID"), read with the host's own grammar from the words as Windows
// would hand them over: joined by blanks, with blanks and controls before the first word gone.
SaverRequest saverRequest(const std::vector<std::string>& words, const char* xscreensaverWindow) {
    SaverRequest r;
    const NamedWindow named = namedWindow(words, xscreensaverWindow);
    if (named.named || wantsOwnWindow(words, xscreensaverWindow)) {
        r.host = previewOf(named.id);
        r.role = named.named ? platform::SurfaceRole::Preview : platform::SurfaceRole::Window;
        r.ownWindow = !named.named;
        r.onDesktop = named.desktop;
        return r;
    }
    std::string tail;
    for (const std::string& w : words) tail += (tail.empty() ? "" : " ") + w;
    std::size_t start = 0;
    while (start < tail.size() && static_cast<unsigned char>(tail[start]) <= 0x20) ++start;
    r.host = readHostSwitch(tail.c_str() + start);
    r.role = r.host.mode == HostMode::Saver     ? platform::SurfaceRole::FullScreen
             : r.host.mode == HostMode::Preview ? platform::SurfaceRole::Preview
                                                : platform::SurfaceRole::Window;
    return r;
}

// The words of the saver modes: xscreensaver's flags, with their values checked, and the
// Windows-style switches ("/s", "-p ID"), which the host reads. Any other "--word" is refused.
// `hostWord` is the first word that is neither a scene option nor --fps or --delay: the watcher
// takes none.
LinuxCommand readSaverWords(const std::vector<std::string>& all, const char* xscreensaverWindow,
                            std::span<const char* const> switches, std::string& hostWord) {
    LinuxCommand c;
    std::string error;
    std::vector<std::string> words;
    int system = -1;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const int asked = windowSystemOf(switches, all[i]);
        if (asked >= 0) {
            // Named in the order of the rows, last first, whatever the order given.
            if (system >= 0 && system != asked) {
                return refused(LinuxMode::Saver,
                               std::string(switches[static_cast<std::size_t>(std::max(system, asked))]) + " and " +
                                   switches[static_cast<std::size_t>(std::min(system, asked))] + " cannot be combined");
            }
            system = asked;
            c.windowSystem = static_cast<WindowSystem>(asked);
            continue;
        }
        if (all[i] == "--verbose") {
            c.saverOptions.verbose = true;
            continue;
        }
        const int taken = takeSceneOption(all, i, c.saverOptions.scene, error);
        if (taken < 0) return refused(LinuxMode::Saver, error);
        if (taken > 0) i += static_cast<std::size_t>(taken) - 1;
        if (taken == 0) words.push_back(all[i]);
    }
    const std::vector<std::string>& args = words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const int option = findHackOption(a);
        if (hostWord.empty() && option != HACK_DELAY && option != HACK_FPS) hostWord = a;
        if (option == HACK_WINDOW_ID) {
            if (i + 1 >= args.size()) return refused(LinuxMode::Saver, a + " needs a window id");
            if (parseWindowId(args[i + 1].c_str()) == 0) {
                return refused(LinuxMode::Saver,
                               a + " '" + printable(args[i + 1]) + "': not a window id (decimal or 0x hex, 32 bits)");
            }
            ++i;
        } else if (option == HACK_DELAY) {
            const HackOption& delay = hackOptions[HACK_DELAY];
            long micros = -1;
            if (i + 1 >= args.size() || !parseNumber(args[i + 1], micros) || micros < delay.low ||
                micros > delay.high) {
                return refused(LinuxMode::Saver, a + " '" + (i + 1 < args.size() ? printable(args[i + 1]) : "") +
                                                     "': expected microseconds from " + std::to_string(delay.low) +
                                                     " to " + std::to_string(delay.high));
            }
            c.saverOptions.delayMicroseconds = micros;
            c.saverOptions.delayGiven = true;
            ++i;
        } else if (option == HACK_FPS) {
            c.saverOptions.showFps = true;
        } else if (option < 0 && a.rfind("--", 0) == 0) {
            return refused(LinuxMode::Saver, "unknown option '" + printable(a) + "' (see --help)");
        }
    }
    // $XSCREENSAVER_WINDOW is read for -root and for a hack started with xscreensaver's flags alone.
    if (xscreensaverWindow != nullptr && *xscreensaverWindow != '\0' && parseWindowId(xscreensaverWindow) == 0 &&
        (std::any_of(args.begin(), args.end(), [](const std::string& a) { return isHackOption(a, HACK_ROOT); }) ||
         readsXscreensaverWindow(args))) {
        return refused(LinuxMode::Saver, "XSCREENSAVER_WINDOW '" + printable(xscreensaverWindow) +
                                             "': not a window id (decimal or 0x hex, 32 bits)");
    }
    c.request = saverRequest(words, xscreensaverWindow);
    return c;
}

// --idle SECONDS [--verbose] and the options of the saver it starts: scene options, --fps,
// --delay, --x11/--wayland. Those are checked here, as /s would check them, so that a mistake
// shows at once and not when the session first goes idle; a mode of the host (/s, /p, -root)
// has no place here.
LinuxCommand readIdleWords(const std::vector<std::string>& args, std::span<const char* const> switches) {
    LinuxCommand c;
    c.mode = LinuxMode::Idle;
    std::vector<std::string> options;
    bool seen = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--verbose") {
            c.idleVerbose = true;
        } else if (args[i] == "--idle") {
            long seconds = 0;
            if (seen || i + 1 >= args.size() || !parseNumber(args[i + 1], seconds) || seconds < MIN_IDLE_SECONDS ||
                seconds > MAX_IDLE_SECONDS) {
                const std::string value = i + 1 < args.size() && !seen ? " '" + printable(args[i + 1]) + "'" : "";
                return refused(LinuxMode::Idle, seen ? "--idle given twice"
                                                     : "--idle" + value + ": expected seconds from " +
                                                           std::to_string(MIN_IDLE_SECONDS) + " to " +
                                                           std::to_string(MAX_IDLE_SECONDS) + " (" +
                                                           std::to_string(MAX_IDLE_SECONDS / 3600) + " hours)");
            }
            c.idleSeconds = seconds;
            seen = true;
            ++i;
        } else {
            options.push_back(args[i]);
        }
    }
    std::string hostWord;
    LinuxCommand saver = readSaverWords(options, nullptr, switches, hostWord);
    if (saver.refusedCode != 0) return refused(LinuxMode::Idle, saver.error);
    if (!hostWord.empty()) {
        return refused(LinuxMode::Idle,
                       "--idle takes scene options only, not '" + printable(hostWord) + "' (it runs the saver as /s)");
    }
    c.saverOptions = saver.saverOptions;
    c.windowSystem = saver.windowSystem;
    c.idleSaverOptions = std::move(options);
    return c;
}

// The words that ask the running watcher something, each standing alone: one command, --json with
// --status or --watch, and --pause's duration.
struct ControlWord {
    const char* word;
    ControlCommand command;
    bool json;  // takes --json
};
constexpr ControlWord CONTROL_WORDS[] = {
    {"--status", ControlCommand::Status, true}, {"--activate", ControlCommand::Activate, false},
    {"--pause", ControlCommand::Pause, false},  {"--resume", ControlCommand::Resume, false},
    {"--watch", ControlCommand::Watch, true},
};

const ControlWord* controlWord(const std::string& word) {
    for (const ControlWord& w : CONTROL_WORDS)
        if (word == w.word) return &w;
    return nullptr;
}

LinuxCommand readControlWords(const std::vector<std::string>& args) {
    LinuxCommand c;
    c.mode = LinuxMode::Control;
    const ControlWord* command = nullptr;
    bool json = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const ControlWord* w = controlWord(args[i]);
        if (w != nullptr && command != nullptr)
            return refused(LinuxMode::Control, std::string(command->word) + " and " + w->word + " cannot be combined");
        if (w != nullptr) {
            command = w;
            if (w->command == ControlCommand::Pause) {
                const auto seconds = i + 1 < args.size() ? idle::parseDuration(args[i + 1]) : std::nullopt;
                if (!seconds) {
                    return refused(LinuxMode::Control,
                                   "--pause" + (i + 1 < args.size() ? " '" + printable(args[i + 1]) + "'" : "") +
                                       ": expected a duration such as 1h, 30m, 90s or 600 (seconds), at most " +
                                       std::to_string(idle::MAX_PAUSE_SECONDS / 3600) + "h");
                }
                c.control.seconds = *seconds;
                ++i;
            }
        } else if (args[i] == "--json") {
            json = true;
        } else {
            return refused(LinuxMode::Control, "'" + printable(args[i]) + "' has no place here (see --help)");
        }
    }
    if (json && !command->json) return refused(LinuxMode::Control, std::string(command->word) + " takes no --json");
    c.control.command = command->command;
    c.control.json = json;
    return c;
}

}  // namespace

bool needsDisplay(const HostRequest& request) {
    switch (request.mode) {
    case HostMode::Dialog:
    case HostMode::Settings:
    case HostMode::Saver: return true;
    case HostMode::Preview: return request.idGiven;
    case HostMode::Password:
    case HostMode::Unknown: return false;
    }
    return false;
}

LinuxCommand readCommandLine(const std::vector<std::string>& args, const char* xscreensaverWindow,
                             std::span<const char* const> windowSystems) {
    LinuxCommand c;
    if (has(args, "--help") || has(args, "-h")) {
        c.mode = LinuxMode::Help;
        return c;
    }
    if (has(args, "--version")) {
        c.mode = LinuxMode::Version;
        return c;
    }
    if (std::any_of(args.begin(), args.end(), [](const std::string& a) { return controlWord(a) != nullptr; }))
        return readControlWords(args);
    const bool render = has(args, "--render");
    const bool texture = has(args, "--texture");
    if (has(args, "--texture-types")) {
        if (args.size() != 1) return refused(LinuxMode::TextureTypes, "--texture-types takes nothing else");
        c.mode = LinuxMode::TextureTypes;
        return c;
    }
    if (render && texture) return refused(LinuxMode::Render, "--render and --texture cannot be combined");
    if (has(args, "--idle")) {
        if (render || texture) {
            return refused(LinuxMode::Idle,
                           std::string("--idle and ") + (render ? "--render" : "--texture") + " cannot be combined");
        }
        return readIdleWords(args, windowSystems);
    }
    if (render) c.mode = LinuxMode::Render;
    if (texture) c.mode = LinuxMode::Texture;
    std::string hostWord;
    return c.mode == LinuxMode::Saver ? readSaverWords(args, xscreensaverWindow, windowSystems, hostWord) : c;
}

}  // namespace smokedrift
