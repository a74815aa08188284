// The screen saver on every output: one process per output, each running the host for the output
// it was given, and this one watching them. An output that appears gets a process; one that goes
// away takes its process with it; the first process that ends for any other reason (input, a
// failure) ends the run with its code. Stop signals end the run with 0, a lost compositor with
// 255 and one line.
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "base/child_process.h"
#include "base/session_lock.h"
#include "platform/wayland/wl_state.h"

namespace smokedrift::wl {

namespace {

constexpr int WATCH_INTERVAL_MS = 200;

void abandon(std::uint32_t output) {
    if (WlOutput* o = findOutput(output)) o->abandoned = true;
}

// One run per user and compositor, as on Windows a second /s leaves the running saver alone: the
// session's lock, which no other account can hold. Without a folder to lock in, the run goes on.
bool anotherRunIsOn() {
    // The compositor's socket as a path: "wayland-1" in two runtime folders are two compositors.
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (name == nullptr || *name == '\0') name = "wayland-0";
    const char* folder = std::getenv("XDG_RUNTIME_DIR");
    const SessionLock lock =
        takeSessionLock("saver", sessionKey(name, folder, nullptr, nullptr), folder, std::getenv("TMPDIR"));
    if (lock.result == LockResult::Unavailable) {
        std::fprintf(stderr, "smokedrift: no folder of our own to lock the session in (%s); running anyway\n",
                     std::strerror(errno));
    }
    state().runningMark = lock.fd;
    return lock.result == LockResult::HeldByUs;
}

// Interrupts the watcher's wait when a process ends (no SA_RESTART: poll returns at once).
void onChild(int) {}

bool covered(std::uint32_t output) {
    for (const Member& m : state().members) {
        if (m.pid != 0 && m.output == output) return true;
    }
    return false;
}

// How many outputs get the scene: SCENE_OUTPUTS, or fewer as SMOKEDRIFT_SCENE_OUTPUTS says (to
// try the black cover without a machine's worth of contexts).
int sceneLimit() {
    const char* asked = std::getenv("SMOKEDRIFT_SCENE_OUTPUTS");
    if (asked == nullptr || *asked == '\0') return SCENE_OUTPUTS;
    char* end = nullptr;
    const long limit = std::strtol(asked, &end, 10);
    return *end == '\0' && limit >= 0 && limit < SCENE_OUTPUTS ? static_cast<int>(limit) : SCENE_OUTPUTS;
}

int sceneMembers() {
    int count = 0;
    for (const Member& m : state().members) {
        if (m.pid != 0 && !m.black) ++count;
    }
    return count;
}

// Forks the process for `output`. True in the new process.
bool start(const WlOutput& output, Group* group) {
    int slot = -1;
    for (int i = 0; slot < 0 && i < MAX_GROUP; ++i) {
        if (state().members[i].pid == 0) slot = i;
    }
    if (slot < 0) return false;
    const bool black = sceneMembers() >= sceneLimit();
    const pid_t pid = forkChild();
    if (pid < 0) {
        std::perror("smokedrift: fork");
        return false;
    }
    if (pid > 0) {
        state().members[slot] = Member{pid, output.name, false, black};
        return false;
    }
    // The new process dies with the watcher (forkChild); the connection and the signal pipe it
    // inherited are the watcher's.
    signal(SIGCHLD, SIG_DFL);
    posix::forgetStopHandlers();
    if (state().runningMark >= 0) close(state().runningMark);
    const std::uint32_t name = output.name;  // `output` lives in the state about to be emptied
    close(wl_display_get_fd(state().display));
    state() = WlState{};
    state().targetOutput = name;
    state().member = slot;
    state().group = group;
    state().black = black;
    return true;
}

void stopAll() {
    pid_t pids[MAX_GROUP];
    for (int i = 0; i < MAX_GROUP; ++i) pids[i] = state().members[i].pid;
    stopChildren(pids);
    for (Member& m : state().members) m = Member{};
}

}  // namespace

bool outputAbandoned(std::uint32_t output) {
    const WlOutput* o = findOutput(output);
    return o != nullptr && o->abandoned;
}

int memberEnded(Group& group, pid_t pid, int status) {
    for (int i = 0; i < MAX_GROUP; ++i) {
        Member& m = state().members[i];
        if (m.pid != pid) continue;
        group.keyboardHolders.fetch_and(~memberBit(i));
        const Member was = m;
        m = Member{};
        if (was.leaving) return -1;
        if (WIFEXITED(status) && WEXITSTATUS(status) == OUTPUT_GONE_CODE) {
            abandon(was.output);
            return -1;
        }
        if (WIFEXITED(status)) return WEXITSTATUS(status);
        return 255;  // killed by a signal not of ours
    }
    return -1;
}

}  // namespace smokedrift::wl

namespace smokedrift {

bool coversBlack() { return wl::state().black; }

int runOnEveryOutput() {
    using namespace wl;
    WlState& s = state();
    if (connect(true) == nullptr) return 255;
    if (anotherRunIsOn()) return 0;
    void* page = mmap(nullptr, sizeof(Group), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) {
        std::perror("smokedrift: shared memory");
        return 255;
    }
    Group* group = new (page) Group{};
    struct sigaction action = {};
    action.sa_handler = &onChild;
    action.sa_flags = SA_NOCLDSTOP;
    sigemptyset(&action.sa_mask);
    sigaction(SIGCHLD, &action, nullptr);

    int result = -1;
    while (result < 0) {
        for (const WlOutput& o : s.outputs) {
            if (o.output != nullptr && o.done && !covered(o.name) && !outputAbandoned(o.name) && start(o, group)) {
                return -1;
            }
        }
        // An output gone: its process goes with it, and the run goes on.
        for (Member& m : state().members) {
            if (m.pid != 0 && !m.leaving && findOutput(m.output) == nullptr) {
                m.leaving = true;
                kill(m.pid, SIGTERM);
            }
        }
        waitEvents(WATCH_INTERVAL_MS);
        if (posix::takeStopRequest()) result = 0;
        int status = 0;
        for (int i = 0; i < MAX_GROUP && result < 0; ++i) {
            const pid_t pid = state().members[i].pid;
            if (reapChild(pid, status)) result = memberEnded(*group, pid, status);
        }
        // A process that failed may have lost the compositor with us: then that is what to say.
        if (result == 255) roundtrip();
    }
    stopAll();
    return result;
}

}  // namespace smokedrift
