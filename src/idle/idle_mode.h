#pragma once
// smokedrift --idle SECONDS [scene options] [--verbose]: waits for the session to be idle that
// long, runs the full-screen saver with those options, and again after the next idle stretch,
// until a stop signal (exit 0) or the end of the session (exit 255).
#include <string>
#include <vector>

namespace smokedrift::idle {

struct IdleModeOptions {
    long seconds = 0;
    bool verbose = false;                   // the chosen source and each event on stderr
    std::vector<std::string> saverOptions;  // handed to the saver after /s
};

int runIdleMode(const IdleModeOptions& options);

}  // namespace smokedrift::idle
