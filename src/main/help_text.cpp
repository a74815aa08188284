#include "main/help_text.h"

#include <cstdio>
#include <string>

#include "app/feedback_cycle.h"
#include "app/scene_switches.h"
#include "main/command_line.h"
#include "main/hack_options.h"
#include "offscreen/render_mode.h"
#include "offscreen/texture_writer.h"
#include "saver/saver_options.h"
#include "textures/texture.h"
#include "textures/texture_type_names.h"

#ifndef SMOKEDRIFT_VERSION
#define SMOKEDRIFT_VERSION "0"
#endif

namespace smokedrift {

namespace {

// The usage line of a hack option: "-root", "-window-id ID", "--window".
std::string hackUsage(HackOptionIndex option, const char* dashes, const char* value = "") {
    return std::string(dashes) + hackOptions[option].word + (*value != '\0' ? " " : "") + value;
}

}  // namespace

void printVersion() { std::printf("smokedrift %s\n", SMOKEDRIFT_VERSION); }

void printHelp() {
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
    std::printf(
        "      %-11s at least N microseconds between frames (0: once per display refresh;\n"
        "                  without it at most 60 a second, 30 where OpenGL draws in software)\n",
        hackUsage(HACK_DELAY, "--", "N").c_str());
    std::printf("      --verbose   say on stderr at which render scale the saver draws, and why\n");
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
        "  smokedrift --status [--json]\n"
        "      ask the running watcher: its state and idle source, what holds the saver off (each\n"
        "      holder, the way it holds it and since when), a desktop timer that comes first and\n"
        "      when the saver starts. --json: the same as one JSON object\n"
        "  smokedrift --activate      start the saver now; input ends it as always\n"
        "  smokedrift --pause TIME    keep the saver off for TIME: 1h, 30m, 90s or seconds (at most\n"
        "                             168h); it ends by itself and with the watcher\n"
        "  smokedrift --resume        end the pause\n"
        "  smokedrift --watch [--json]  a line per change of state until interrupted; --json: one\n"
        "                             JSON object a line, for status bars (waybar, polybar, i3blocks)\n"
        "      these exit with 1 and one line when no watcher runs in the session\n"
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

}  // namespace smokedrift
