#include "base/child_process.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace smokedrift {

namespace {

constexpr int STEP_MS = 50;

}  // namespace

pid_t forkChild() {
    const pid_t parent = getpid();
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    // The parent may have died before the signal was asked for: then it never comes.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(0);
    return 0;
}

bool fillClosedStandardStreams() {
    for (int fd = 0; fd < 3; ++fd) {
        if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
        // The lowest free number: this one, since those below it are open by now.
        const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened != fd) {
            if (opened >= 0) close(opened);
            return false;
        }
    }
    return true;
}

void takeProgramName(const char* argv0) {
    char current[16] = {};
    if (argv0 == nullptr || prctl(PR_GET_NAME, current) != 0 || std::strcmp(current, "exe") != 0) return;
    const char* slash = std::strrchr(argv0, '/');
    const char* name = slash != nullptr ? slash + 1 : argv0;
    // The kernel keeps the first 15 bytes.
    if (*name != '\0') prctl(PR_SET_NAME, name);
}

void execSelf(char* const argv[], const char* failure) {
    // The signals the parent blocked for its own descriptor are the program's to handle; the
    // parent's connections, locks and descriptors are its own.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    close_range(3, ~0U, 0);
    // The very image that runs, even where an upgrade has replaced or removed the file since: the
    // saver always matches its watcher. The kernel names the process "exe" for it, which the new
    // program undoes at once (takeProgramName); the path readlink gives would be the new file, or
    // one ending in " (deleted)".
    execv("/proc/self/exe", argv);
    std::fprintf(stderr, "%s: %s\n", failure, std::strerror(errno));
    _exit(127);
}

bool reapChild(pid_t pid, int& status) { return pid > 0 && waitpid(pid, &status, WNOHANG) == pid; }

void stopChildren(std::span<pid_t> pids, int graceMs) {
    for (const pid_t pid : pids) {
        if (pid > 0) kill(pid, SIGTERM);
    }
    for (int waited = 0;; waited += STEP_MS) {
        bool any = false;
        for (pid_t& pid : pids) {
            if (pid <= 0) continue;
            const pid_t got = waitpid(pid, nullptr, WNOHANG);
            if (got == pid || (got < 0 && errno == ECHILD)) {
                pid = 0;
                continue;
            }
            any = true;
            if (waited >= graceMs) kill(pid, SIGKILL);
        }
        if (!any) return;
        usleep(STEP_MS * 1000);
    }
}

}  // namespace smokedrift
