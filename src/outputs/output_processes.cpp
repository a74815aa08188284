// The watching process of a run over every output: the lock, the forks, the books, the wait.
#include "outputs/output_processes.h"

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

namespace smokedrift::outputs {

namespace {

constexpr int WATCH_INTERVAL_MS = 200;

void abandon(std::uint32_t output) {
    if (wl::findOutput(output) == nullptr || outputAbandoned(output)) return;
    // Entries of outputs no longer listed go first: there is a slot for each listed output.
    for (std::uint32_t& a : books().abandoned) {
        if (a != 0 && wl::findOutput(a) == nullptr) a = 0;
    }
    for (std::uint32_t& a : books().abandoned) {
        if (a == 0) {
            a = output;
            return;
        }
    }
}

// One run per user and compositor, as on Windows a second /s leaves the running saver alone: the
// session's lock, which no other account can hold. Without a folder to lock in, the run goes on.
bool anotherRunIsOn(const SessionEnvironment& session) {
    // The compositor's socket as a path: "wayland-1" in two runtime folders are two compositors.
    const char* name = session.waylandSession() ? session.waylandDisplay.c_str() : "wayland-0";
    const char* folder = session.runtimeDir.c_str();
    const SessionLock lock =
        takeSessionLock("saver", sessionKey(name, folder, nullptr, nullptr), folder, session.tmpDir.c_str());
    if (lock.result == LockResult::Unavailable) {
        std::fprintf(stderr, "smokedrift: no folder of our own to lock the session in (%s); running anyway\n",
                     std::strerror(errno));
    }
    books().runningMark = lock.fd;
    return lock.result == LockResult::HeldByUs;
}

// Interrupts the watcher's wait when a process ends (no SA_RESTART: poll returns at once).
void onChild(int) {}

bool covered(std::uint32_t output) {
    for (const Member& m : books().members) {
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
    for (const Member& m : books().members) {
        if (m.pid != 0 && !m.black) ++count;
    }
    return count;
}

// Forks the process for `output`. True in the new process, which then draws on that output only.
bool start(std::uint32_t output, wl::Group* group, OutputRun& run) {
    int slot = -1;
    for (int i = 0; slot < 0 && i < wl::MAX_GROUP; ++i) {
        if (books().members[i].pid == 0) slot = i;
    }
    if (slot < 0) return false;
    const bool black = sceneMembers() >= sceneLimit();
    const pid_t pid = forkChild();
    if (pid < 0) {
        std::perror("smokedrift: fork");
        return false;
    }
    if (pid > 0) {
        books().members[slot] = Member{pid, output, false, black};
        return false;
    }
    // The new process dies with the watcher (forkChild); the connection, the signal pipe and the
    // lock it inherited are the watcher's.
    signal(SIGCHLD, SIG_DFL);
    posix::forgetStopHandlers();
    if (books().runningMark >= 0) close(books().runningMark);
    books() = OutputProcesses{};
    wl::drawOnOutput(output, slot, group, black);
    run.black = black;
    return true;
}

void stopAll() {
    pid_t pids[wl::MAX_GROUP];
    for (int i = 0; i < wl::MAX_GROUP; ++i) pids[i] = books().members[i].pid;
    stopChildren(pids);
    for (Member& m : books().members) m = Member{};
}

}  // namespace

OutputProcesses& books() {
    static OutputProcesses b;
    return b;
}

bool outputAbandoned(std::uint32_t output) {
    if (wl::findOutput(output) == nullptr) return false;
    for (const std::uint32_t a : books().abandoned) {
        if (a == output) return true;
    }
    return false;
}

int memberEnded(wl::Group& group, pid_t pid, int status) {
    for (int i = 0; i < wl::MAX_GROUP; ++i) {
        Member& m = books().members[i];
        if (m.pid != pid) continue;
        group.keyboardHolders.fetch_and(~wl::memberBit(i));
        const Member was = m;
        m = Member{};
        if (was.leaving) return -1;
        if (WIFEXITED(status) && WEXITSTATUS(status) == wl::OUTPUT_GONE_CODE) {
            abandon(was.output);
            return -1;
        }
        if (WIFEXITED(status)) return WEXITSTATUS(status);
        return 255;  // killed by a signal not of ours
    }
    return -1;
}

OutputRun runOnEveryOutput(const SessionEnvironment& session) {
    OutputRun run;
    if (wl::connect(true) == nullptr) return {255};
    if (anotherRunIsOn(session)) return {0};
    void* page = mmap(nullptr, sizeof(wl::Group), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) {
        std::perror("smokedrift: shared memory");
        return {255};
    }
    wl::Group* group = new (page) wl::Group{};
    struct sigaction action = {};
    action.sa_handler = &onChild;
    action.sa_flags = SA_NOCLDSTOP;
    sigemptyset(&action.sa_mask);
    sigaction(SIGCHLD, &action, nullptr);

    int result = -1;
    while (result < 0) {
        for (const wl::WlOutput& o : wl::state().outputs) {
            if (o.output != nullptr && o.done && !covered(o.name) && !outputAbandoned(o.name) &&
                start(o.name, group, run)) {
                return run;
            }
        }
        // An output gone: its process goes with it, and the run goes on.
        for (Member& m : books().members) {
            if (m.pid != 0 && !m.leaving && wl::findOutput(m.output) == nullptr) {
                m.leaving = true;
                kill(m.pid, SIGTERM);
            }
        }
        wl::waitEvents(WATCH_INTERVAL_MS);
        if (posix::takeStopRequest()) result = 0;
        int status = 0;
        for (int i = 0; i < wl::MAX_GROUP && result < 0; ++i) {
            const pid_t pid = books().members[i].pid;
            if (reapChild(pid, status)) result = memberEnded(*group, pid, status);
        }
        // A process that failed may have lost the compositor with us: then that is what to say.
        if (result == 255) wl::roundtrip();
    }
    stopAll();
    run.ended = result;
    return run;
}

}  // namespace smokedrift::outputs
