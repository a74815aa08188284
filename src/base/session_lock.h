#pragma once
// One process per session for a purpose (the idle watcher; the Wayland saver's run): a lock on a
// file in a folder only this user can write, so no other account can hold it or seem to. Held
// for the life of the process (the kernel drops it however the process ends); the file stays.
// POSIX only: the watcher and the Wayland saver's run use it, the engine and the .scr do not.
#include <string>

namespace smokedrift {

// The session an environment names (null for what is unset), the same for each spelling of it:
// the Wayland compositor's socket path, else the X server (":0", ":0.0", ":0.1" and "unix:0" are
// one local server, its screens covered by one saver), else the session bus. Empty when it names
// none.
std::string sessionKey(const char* waylandDisplay, const char* runtimeDir, const char* x11Display,
                       const char* sessionBus);

enum class LockResult {
    Taken,        // ours until the process ends
    HeldByUs,     // another process of this user holds it
    Unavailable,  // no folder of ours that others cannot enter (errno says why)
};

struct SessionLock {
    LockResult result = LockResult::Unavailable;
    int fd = -1;  // close-on-exec; a forked process that must not keep the lock closes it
};

// Takes the lock of `purpose` for `session` in `runtimeDir` ($XDG_RUNTIME_DIR) when that is our
// own folder with no access for others; else in "smokedrift-UID" under `tmpDir` ($TMPDIR, or
// /tmp when unset), made private if missing and refused if it is anybody else's.
SessionLock takeSessionLock(const char* purpose, const std::string& session, const char* runtimeDir,
                            const char* tmpDir);

}  // namespace smokedrift
