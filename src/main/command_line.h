#pragma once
// What a Linux command line asks for. Options may stand in any order; a word that starts with
// "--" is always read as an option, never handed to the host, whose mode switch would read its
// letters ("--size" as /s).
#include <span>
#include <string>
#include <vector>

#include "host/mode_switch.h"
#include "main/control_client.h"
#include "platform/window_systems.h"
#include "saver/saver_options.h"

namespace smokedrift {

enum class LinuxMode { Saver, Help, Version, TextureTypes, Render, Texture, Idle, Control };

// Exit codes of a command line that is refused.
constexpr int SAVER_REFUSED = 255;
constexpr int HEADLESS_REFUSED = 2;

// --idle SECONDS: from one second to a day.
constexpr long MIN_IDLE_SECONDS = 1;
constexpr long MAX_IDLE_SECONDS = 24 * 60 * 60;

// What the saver modes ask for, read once from the words. The role of the surface is decided
// here and nowhere after: the window system is chosen by it, and the host makes the window it says.
struct SaverRequest {
    HostRequest host;  // the mode the host runs
    // FullScreen for /s; Preview into a window named by its id (/p ID, -window-id, -root,
    // $XSCREENSAVER_WINDOW); Window for a window of our own (--window, which the preview goes
    // into) and for the dialog's modes.
    platform::SurfaceRole role = platform::SurfaceRole::Window;
    // The preview's window is known only once the window system is: made by us (--window), or the
    // desktop (-root with no window named).
    bool ownWindow = false;
    bool onDesktop = false;
};

struct LinuxCommand {
    LinuxMode mode = LinuxMode::Saver;
    std::string error;          // one line, set when refused
    int refusedCode = 0;        // the exit code for `error`; 0 when the line is accepted
    SaverOptions saverOptions;  // the saver modes' scene options and pacing
    SaverRequest request;       // the saver modes' request, for the host
    WindowSystem windowSystem = WindowSystem::Session;
    // --idle: the idle time, --verbose, and the saver's options as given, for the saver it starts.
    long idleSeconds = 0;
    bool idleVerbose = false;
    std::vector<std::string> idleSaverOptions;
    // --status, --activate, --pause, --resume, --watch: what to ask the watcher.
    ControlRequest control;
};

// `xscreensaverWindow` is $XSCREENSAVER_WINDOW (null when unset); `windowSystems` the switches of
// the window systems, in the order of their rows (windowSystemSwitches()). The headless modes' own
// options are checked by their parsers; here only what decides the mode, and the saver's own words.
LinuxCommand readCommandLine(const std::vector<std::string>& args, const char* xscreensaverWindow,
                             std::span<const char* const> windowSystems);

// True when the host will open or draw into a window for this request: the settings dialog, the
// saver, a preview of a window named by its id. Refusals of the line itself need no display.
bool needsDisplay(const HostRequest& request);

}  // namespace smokedrift
