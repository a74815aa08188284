#pragma once
// One watcher per session: a name in the abstract socket space (nothing on disk, gone with the
// process) that only one process can bind. The name comes from the session the watcher serves:
// the Wayland compositor's socket path, else the X display, else the session bus.
#include <string>

namespace smokedrift::idle {

// The lock's name for a session, from its environment (null for what is unset); empty when the
// environment names no session at all.
std::string sessionLockName(unsigned uid, const char* waylandDisplay, const char* runtimeDir, const char* x11Display,
                            const char* sessionBus);

enum class LockResult { Taken, HeldByAnother, Failed };

// Binds `name` for the life of the process (the descriptor is close-on-exec, so the saver does
// not inherit it).
LockResult takeSessionLock(const std::string& name);

}  // namespace smokedrift::idle
