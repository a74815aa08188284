// The Linux entry: what only a Linux user types is handled here; the rest goes to the host.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "offscreen/render_mode.h"
#include "offscreen/texture_writer.h"

#ifndef SMOKEDRIFT_VERSION
#define SMOKEDRIFT_VERSION "0"
#endif

namespace {

void printHelp() {
    std::printf(
        "smokedrift %s: drifting, glowing smoke between two letterbox bands\n"
        "\n"
        "usage:\n"
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
        "exit codes: 0 done, 2 bad arguments or the render could not be made or written\n",
        SMOKEDRIFT_VERSION);
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
    std::fprintf(stderr, "smokedrift: the screen saver host is not built into this version; see --help\n");
    return 2;
}
