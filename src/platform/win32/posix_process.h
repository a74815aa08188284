#pragma once
// Process services both POSIX window-system backends share: the clock, and SIGTERM/SIGINT turned
// into a stop request that a poll loop can wait on.
#include <cstdint>

namespace smokedrift::posix {

std::uint64_t nowMilliseconds();

// From the first call on, SIGTERM and SIGINT ask the program to stop instead of killing it.
void installStopHandlers();
// True once a stop signal arrived since the last call.
bool takeStopRequest();
// Readable while a stop request is pending (-1 before installStopHandlers).
int stopFd();
// In a child process just forked: the parent's pipe is not ours; the default actions come back
// until the child installs handlers of its own.
void forgetStopHandlers();

}  // namespace smokedrift::posix
