#pragma once
// Children that never outlive their parent: the idle watcher's saver, the Wayland saver's process
// for each output. One way to start them, stop them and reap them, so that the grace periods of
// one process above another are computed here and not agreed by comment.
// POSIX only, like the session lock.
#include <sys/types.h>

#include <span>

namespace smokedrift {

// How long a child told to stop (SIGTERM) has to end before it is killed.
constexpr int STOP_GRACE_MS = 3000;
// The same for a child that stops children of its own first: their grace, then time of its own.
constexpr int SUPERVISOR_STOP_GRACE_MS = STOP_GRACE_MS + 2000;

// fork() after flushing stdio: -1 on failure (errno set), the child's id in the parent, 0 in the
// child, which gets SIGTERM when the parent dies and ends at once if it already has.
pid_t forkChild();

// At the very start of main, before anything opens a file: fds 0-2 closed by whoever started us
// are opened on /dev/null, or the first file opened (the display's connection, a picture) would
// take their number and our messages would go into it. False when /dev/null cannot be opened.
bool fillClosedStandardStreams();

// At the start of main: a program run again through execSelf takes back the name `argv0` gave it,
// where the kernel named it after /proc/self/exe ("exe" in ps, top, pgrep).
void takeProgramName(const char* argv0);

// In a child: runs this very program with `argv` on a clean slate (no signal blocked, no
// descriptor but 0-2). On failure says so after `failure` and ends with 127.
[[noreturn]] void execSelf(char* const argv[], const char* failure);

// Reaps `pid` if it has ended, touching no other child: true with its `status` when it had.
bool reapChild(pid_t pid, int& status);

// SIGTERM to each child of `pids` (0 entries skipped), then waits for them, killing those still
// there after `graceMs`; each entry is 0 afterwards. One reaped elsewhere counts as ended.
void stopChildren(std::span<pid_t> pids, int graceMs = STOP_GRACE_MS);

}  // namespace smokedrift
