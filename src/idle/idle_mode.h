#pragma once
// smokedrift --idle SECONDS [scene options] [--verbose]: waits for the session to be idle that
// long, runs the full-screen saver with those options, and again after the next idle stretch,
// until a stop signal (exit 0) or the end of the session (exit 255).
#include <string>
#include <vector>

#include "base/session_environment.h"

namespace smokedrift::idle {

struct IdleModeOptions {
    long seconds = 0;
    bool verbose = false;                   // the chosen source and each event on stderr
    std::vector<std::string> saverOptions;  // handed to the saver after /s
};

// `session`: the environment as the run started, which every part of the watcher goes by.
int runIdleMode(const IdleModeOptions& options, const SessionEnvironment& session);

}  // namespace smokedrift::idle
