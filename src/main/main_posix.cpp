// The Linux entry: what only a Linux user types is handled here; the rest goes to the host.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "offscreen/render_mode.h"
#include "offscreen/texture_writer.h"
#include "platform/posix_backend.h"
#include "platform/win32_api.h"

#ifndef SMOKEDRIFT_VERSION
#define SMOKEDRIFT_VERSION "0"
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

namespace {

void printHelp() {
    std::printf(
        "smokedrift %s: drifting, glowing smoke between two letterbox bands\n"
        "\n"
        "usage:\n"
        "  smokedrift /s             run the screen saver full screen; a key, a click or moving\n"
        "                            the mouse ends it\n"
        "  smokedrift /p ID          draw a preview into the X window ID (decimal); /l ID the same\n"
        "  smokedrift /c             show the settings dialog (exit code 1 for OK, 0 for Cancel)\n"
        "  smokedrift -root          draw into $XSCREENSAVER_WINDOW, or else the root window\n"
        "  smokedrift -window-id ID  draw into the X window ID (decimal or 0x hex)\n"
        "      (xscreensaver's conventions; --root and --window-id work too)\n"
        "  smokedrift --render FILE.png [--size WxH] [--frames N] [--seed S] [--enable LIST]\n"
        "      draw the scene headless (EGL) and write the last frame as a PNG.\n"
        "      Defaults: --size 1280x720, --frames 300 (at 60 frames a second), --seed 1.\n"
        "      The same arguments always give the same file.\n"
        "      --enable turns scene switches on, comma-separated: 3d, stars, particles, fog,\n"
        "      background, feedback\n"
        "      (feedback: 40 frames before the end the picture is captured and flies apart as tiles)\n"
        "  smokedrift --texture TYPE --out FILE.png [--size WxH] [--seed S]\n"
        "      generate one texture type and write it as an RGBA PNG, as it looks when drawn.\n"
        "      TYPE: SPHERE NOTSPHERE GRADIENT SMOKE FOG RING STAR SAND BLACK CHECK GRILLE\n"
        "      GRAIN SOFT_SQUARE (any case) or a code 0-15. Defaults: --size 256x256 (at most\n"
        "      65536 pixels), --seed 1.\n"
        "  smokedrift --help | --version\n"
        "\n"
        "exit codes: 0 done (1 for OK in the settings dialog); 255 (-1) an unknown switch, a\n"
        "window that does not exist or no display; 2 bad --render arguments or the render could\n"
        "not be made or written\n",
        SMOKEDRIFT_VERSION);
}

// An X window id written in decimal or as 0x hex; 0 when it is neither (or does not fit).
unsigned long parseWindowId(const char* text) {
    if (text == nullptr || *text == '\0') return 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 0);
    if (*end != '\0' || value > 0xFFFFFFFFull) return 0;
    return static_cast<unsigned long>(value);
}

// xscreensaver's ways of naming the window to draw in, as the preview tail the host reads.
// Returns false when the arguments are not in that form.
bool xscreensaverTail(const std::vector<std::string>& args, std::string& tail) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-root" || a == "--root") {
            unsigned long id = parseWindowId(std::getenv("XSCREENSAVER_WINDOW"));
            if (id == 0) id = static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(GetDesktopWindow()));
            tail = "/p " + std::to_string(id);
            return true;
        }
        if (a == "-window-id" || a == "--window-id") {
            const unsigned long id = i + 1 < args.size() ? parseWindowId(args[i + 1].c_str()) : 0;
            tail = "/p " + std::to_string(id);
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        printHelp();
        return 0;
    }
    if (!args.empty() && args[0] == "--version") {
        std::printf("smokedrift %s\n", SMOKEDRIFT_VERSION);
        return 0;
    }
    if (!args.empty() && args[0] == "--texture") {
        return smokedrift::runTextureWriter(args);
    }
    if (!args.empty() && args[0] == "--render") {
        return smokedrift::runRenderMode(args);
    }
    std::string commandLine = "smokedrift";
    std::string tail;
    if (!xscreensaverTail(args, tail)) {
        for (const std::string& a : args) tail += (tail.empty() ? "" : " ") + a;
    }
    if (!tail.empty()) commandLine += " " + tail;
    smokedrift::setCommandLine(commandLine.c_str());
    return WinMain(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWDEFAULT);
}
