// The Linux entry: what only a Linux user types is handled here; the rest goes to the host.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "offscreen/render_mode.h"

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
        "      --enable turns scene switches on, comma-separated: background\n"
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
    if (!args.empty() && args[0] == "--render") {
        return smokedrift::runRenderMode(args);
    }
    std::fprintf(stderr, "smokedrift: the screen saver host is not built into this version; see --help\n");
    return 2;
}
