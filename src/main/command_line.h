#pragma once
// What a Linux command line asks for. Options may stand in any order; a word that starts with
// "--" is always read as an option, never handed to the host, whose mode switch would read its
// letters ("--size" as /s).
#include <string>
#include <vector>

#include "host/mode_switch.h"
#include "main/control_client.h"
#include "saver/saver_options.h"

namespace smokedrift {

enum class LinuxMode { Saver, Help, Version, TextureTypes, Render, Texture, Idle, Control };

// Which window system the saver modes draw on: as the session says, or forced.
enum class WindowSystemChoice { Session, X11, Wayland };

// Exit codes of a command line that is refused.
constexpr int SAVER_REFUSED = 255;
constexpr int HEADLESS_REFUSED = 2;

// --idle SECONDS: from one second to a day.
constexpr long MIN_IDLE_SECONDS = 1;
constexpr long MAX_IDLE_SECONDS = 24 * 60 * 60;

struct LinuxCommand {
    LinuxMode mode = LinuxMode::Saver;
    std::string error;               // one line, set when refused
    int refusedCode = 0;             // the exit code for `error`; 0 when the line is accepted
    SaverOptions saverOptions;       // the saver modes' scene options and pacing
    std::vector<std::string> saver;  // the saver modes' other words, for the host
    WindowSystemChoice windowSystem = WindowSystemChoice::Session;
    // --idle: the idle time, --verbose, and the saver's options as given, for the saver it starts.
    long idleSeconds = 0;
    bool idleVerbose = false;
    std::vector<std::string> idleSaverOptions;
    // --status, --activate, --pause, --resume, --watch: what to ask the watcher.
    ControlRequest control;
};

// `xscreensaverWindow` is $XSCREENSAVER_WINDOW (null when unset). The headless modes' own options
// are checked by their parsers; here only what decides the mode, and the saver's own words.
LinuxCommand readCommandLine(const std::vector<std::string>& args, const char* xscreensaverWindow);

// True when the host will open or draw into a window for this request: the settings dialog, the
// saver, a preview of a window named by its id. Refusals of the line itself need no display.
bool needsDisplay(const HostRequest& request);

}  // namespace smokedrift
