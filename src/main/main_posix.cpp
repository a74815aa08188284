// The Linux entry: what only a Linux user types is handled here; the rest goes to the host.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/feedback_cycle.h"
#include "app/scene_switches.h"
#include "idle/idle_mode.h"
#include "main/command_line.h"
#include "main/hack_options.h"
#include "main/xscreensaver_args.h"
#include "offscreen/render_mode.h"
#include "offscreen/texture_writer.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_process.h"
#include "platform/window_systems.h"
#include "saver/configure_dialog_resources.h"
#include "saver/saver_options.h"
#include "textures/texture.h"
#include "textures/texture_type_names.h"

#ifndef SMOKEDRIFT_VERSION
#define SMOKEDRIFT_VERSION "0"
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

namespace {

// The usage line of a hack option: "-root", "-window-id ID", "--window".
std::string hackUsage(smokedrift::HackOptionIndex option, const char* dashes, const char* value = "") {
    return std::string(dashes) + smokedrift::hackOptions[option].word + (*value != '\0' ? " " : "") + value;
}

void printHelp() {
    using namespace smokedrift;
    const RenderOptions render;
    const TextureOptions texture;
    std::printf(
        "smokedrift %s: drifting, glowing smoke between two letterbox bands\n"
        "\n"
        "usage:\n"
        "  smokedrift /s             run the screen saver full screen; a key, a click or moving\n"
        "                            the mouse ends it\n"
        "  smokedrift /p ID          draw a preview into the X window ID (decimal); /l ID the same\n"
        "  smokedrift /c             show the settings dialog (exit code 1 for OK, 0 for Cancel)\n",
        SMOKEDRIFT_VERSION);
    std::printf("  smokedrift %-14s draw into $XSCREENSAVER_WINDOW, or else the root window\n",
                hackUsage(HACK_ROOT, "-").c_str());
    std::printf("  smokedrift %-14s draw into the X window ID (decimal or 0x hex)\n",
                hackUsage(HACK_WINDOW_ID, "-", "ID").c_str());
    std::printf("  smokedrift %-14s draw in a %dx%d window of its own; closing it ends the run\n",
                hackUsage(HACK_WINDOW, "--").c_str(), OWN_WINDOW_WIDTH, OWN_WINDOW_HEIGHT);
    std::printf(
        "      (xscreensaver's conventions; %s and %s work too, and with no window\n"
        "      named $XSCREENSAVER_WINDOW is used)\n",
        hackUsage(HACK_ROOT, "--").c_str(), hackUsage(HACK_WINDOW_ID, "--").c_str());
    std::printf("      %-11s the frame rate and CPU load in the lower-left corner\n",
                hackUsage(HACK_FPS, "--").c_str());
    std::printf("      %-11s at least N microseconds between frames (0: once per display refresh)\n",
                hackUsage(HACK_DELAY, "--", "N").c_str());
    std::printf(
        "      --x11, --wayland  the window system to draw on. By default /s covers every output of\n"
        "                  the Wayland session when $WAYLAND_DISPLAY names a compositor that answers,\n"
        "                  and runs on X11 ($DISPLAY) otherwise; the dialog, previews, --window and\n"
        "                  -root are always X11's (XWayland in a Wayland session)\n"
        "  smokedrift --idle SECONDS [--verbose]\n"
        "      watch the session and run the saver full screen (as /s, with the scene options,\n"
        "      --fps and --delay given) once it has been idle for SECONDS (%ld to %ld); again\n"
        "      after the next idle stretch. The session's own idle signal decides, so video players\n"
        "      that hold the screen on keep it from starting. One watcher per session; SIGTERM ends\n"
        "      it and its saver. At start it names a blank or lock of the desktop that would come\n"
        "      first. --verbose says which idle source it uses, the desktop's timers and what it sees\n"
        "  smokedrift --render FILE.png [--size WxH] [--frames N] [--seed S]\n"
        "      draw the scene headless (EGL) and write the last frame as a PNG.\n"
        "      Defaults: --size %dx%d, --frames %d (at %d frames a second), --seed %u.\n"
        "      The same arguments always give the same file. With feedback on, the picture is\n"
        "      captured %d frames before the end and shown for the rest.\n"
        "\n"
        "  scene options, for every mode that draws the scene (default: the shipped scene):\n",
        MIN_IDLE_SECONDS, MAX_IDLE_SECONDS, render.width, render.height, render.frames, SIMULATED_FRAMES_PER_SECOND,
        render.seed, FEEDBACK_SHOW_FRAMES);
    for (const SceneSwitch& s : sceneSwitches) {
        if (s.flag != nullptr) std::printf("    --%-16s %s\n", s.name, s.meaning);
    }
    for (const SceneValueOption& o : sceneValueOptions) {
        std::printf("    %-18s %s\n", (std::string(o.name) + " " + o.value).c_str(),
                    describeSceneValueOption(o).c_str());
    }
    std::printf("    (%s)\n", flyThroughRule);
    std::printf(
        "    (the saver with feedback on captures the picture every %.0f seconds)\n"
        "\n",
        FEEDBACK_PERIOD);
    std::printf(
        "  smokedrift --texture TYPE --out FILE.png [--size WxH] [--seed S]\n"
        "      generate one texture type and write it as an RGBA PNG, as it looks when drawn.\n"
        "      TYPE (any case):");
    int column = 0;
    for (const TextureTypeName& t : textureTypeNames) {
        if (column++ % 8 == 0) std::printf("\n       ");
        std::printf(" %s", t.name);
    }
    std::printf(
        "\n      or a code 0-%d. Defaults: --size %dx%d (at most %d pixels), --seed %u.\n"
        "  smokedrift --texture-types  the types that have an image, one a line\n"
        "  smokedrift --help | --version\n"
        "\n"
        "exit codes: 0 done (1 for OK in the settings dialog); %d (%d) an unknown switch or\n"
        "option, a bad value, a window that does not exist, no display or no OpenGL; %d bad\n"
        "--render or "
        "--texture arguments, or the file could not be made or written\n",
        HIGHEST_TEXTURE_TYPE, texture.width, texture.height, MAX_PIXELS, texture.seed, SAVER_REFUSED,
        static_cast<signed char>(SAVER_REFUSED), HEADLESS_REFUSED);
}

// xscreensaver's --window: a top-level window of a fixed size for the preview to draw into.
// Closing it destroys the preview with it, which ends the run with 0.
HWND createOwnWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SmokedriftWindow";
    if (RegisterClassA(&windowClass) == 0) return nullptr;
    return CreateWindowExA(0, windowClass.lpszClassName, "smokedrift",
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, smokedrift::OWN_WINDOW_WIDTH,
                           smokedrift::OWN_WINDOW_HEIGHT, nullptr, nullptr, windowClass.hInstance, nullptr);
}

bool waylandSession() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    return name != nullptr && *name != '\0';
}

}  // namespace

int main(int argc, char** argv) {
    using smokedrift::LinuxMode;
    std::vector<std::string> args(argv + 1, argv + argc);
    const char* xscreensaverWindow = std::getenv("XSCREENSAVER_WINDOW");
    const smokedrift::LinuxCommand command = smokedrift::readCommandLine(args, xscreensaverWindow);
    if (command.refusedCode != 0) {
        std::fprintf(stderr, "smokedrift: %s\n", command.error.c_str());
        return command.refusedCode;
    }
    switch (command.mode) {
    case LinuxMode::Help: printHelp(); return 0;
    case LinuxMode::Version: std::printf("smokedrift %s\n", SMOKEDRIFT_VERSION); return 0;
    case LinuxMode::TextureTypes:
        for (const smokedrift::TextureTypeName& t : smokedrift::textureTypeNames)
            if (t.drawn) std::printf("%s\n", t.name);
        return 0;
    case LinuxMode::Texture: return smokedrift::runTextureWriter(args);
    case LinuxMode::Render: return smokedrift::runRenderMode(args);
    case LinuxMode::Idle:
        return smokedrift::idle::runIdleMode({command.idleSeconds, command.idleVerbose, command.idleSaverOptions});
    case LinuxMode::Saver: break;
    }
    smokedrift::setSaverOptions(command.saverOptions);
    args = command.saver;
    // The saver keeps no files; Mesa's on-disk shader cache would be the one thing a run writes.
    // A user's own setting of the variable wins.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    // The root window is looked up only when -root finds no $XSCREENSAVER_WINDOW.
    const bool wantsRoot = std::any_of(args.begin(), args.end(), [](const std::string& a) {
        return smokedrift::isHackOption(a, smokedrift::HACK_ROOT);
    });
    const bool namesWindow = smokedrift::parseWindowId(xscreensaverWindow) != 0;
    if (wantsRoot && !namesWindow && command.windowSystem != smokedrift::WindowSystemChoice::X11 &&
        (waylandSession() || command.windowSystem == smokedrift::WindowSystemChoice::Wayland)) {
        std::fprintf(stderr,
                     "smokedrift: -root draws on the X11 root window, which a Wayland session does not "
                     "show; run smokedrift /s, or add --x11 to draw on XWayland's root anyway\n");
        return smokedrift::SAVER_REFUSED;
    }
    const bool ownWindow = smokedrift::wantsOwnWindow(args, xscreensaverWindow);
    const bool fullScreen =
        !ownWindow && smokedrift::runsFullScreen(smokedrift::hostCommandLine(args, xscreensaverWindow, 0));
    using smokedrift::WindowSystemChoice;
    if (command.windowSystem == WindowSystemChoice::Wayland && !fullScreen) {
        std::fprintf(stderr,
                     "smokedrift: --wayland runs the screen saver (/s) only; the dialog, previews, "
                     "--window and -root need X11\n");
        return 255;
    }
    const smokedrift::BackendRow* backend =
        smokedrift::chooseBackend(command.windowSystem == WindowSystemChoice::Session ? nullptr
                                  : command.windowSystem == WindowSystemChoice::X11   ? "X11"
                                                                                      : "Wayland",
                                  fullScreen);
    if (backend == nullptr) return 255;
    const int ended = backend->startRun != nullptr ? backend->startRun() : -1;
    if (ended >= 0) return ended;
    if (backend->coversBlack != nullptr && backend->coversBlack()) {
        smokedrift::SaverOptions black = command.saverOptions;
        black.sceneless = true;
        smokedrift::setSaverOptions(black);
    }
    // Without a display the one line saying so is the whole story: the host would go on to say
    // that it found no window to draw into (-root, /p N). A row that draws /s only answered when chosen.
    if (!backend->fullScreenOnly &&
        (ownWindow || smokedrift::needsDisplay(smokedrift::hostCommandLine(args, xscreensaverWindow, 0))) &&
        !backend->probe(true)) {
        return smokedrift::SAVER_REFUSED;
    }
    const unsigned long root = wantsRoot && !namesWindow
                                   ? static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(GetDesktopWindow()))
                                   : 0;
    std::string commandLine;
    if (ownWindow) {
        const HWND own = createOwnWindow();
        if (own == nullptr) return 255;
        commandLine = "smokedrift /p " + std::to_string(reinterpret_cast<std::uintptr_t>(own));
    } else {
        commandLine = smokedrift::hostCommandLine(args, xscreensaverWindow, root);
    }
    smokedrift::setCommandLine(commandLine.c_str());
    smokedrift::useDialogResources(smokedrift::configureDialogResources());
    return WinMain(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWDEFAULT);
}
