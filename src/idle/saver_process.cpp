#include "idle/saver_process.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace smokedrift::idle {

namespace {

// The saver's own supervisor gives its per-output processes 3 s to go; a little more here.
constexpr int GRACE_MS = 5000;
constexpr int STEP_MS = 50;

}  // namespace

bool SaverProcess::start() {
    std::vector<char*> argv;
    std::string program = "smokedrift";
    std::string mode = "/s";
    argv.push_back(program.data());
    argv.push_back(mode.data());
    for (std::string& o : options_) argv.push_back(o.data());
    argv.push_back(nullptr);

    const pid_t watcher = getpid();
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        std::fprintf(stderr, "smokedrift: --idle: cannot start the saver: %s\n", std::strerror(errno));
        return false;
    }
    if (pid == 0) {
        // Nothing outlives the watcher, however it ends; the signals it blocked for its own
        // descriptor are the saver's to handle.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != watcher) _exit(0);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        // The watcher's connection, lock and signal descriptor are its own.
        close_range(3, ~0U, 0);
        execv("/proc/self/exe", argv.data());
        std::fprintf(stderr, "smokedrift: --idle: cannot run the saver: %s\n", std::strerror(errno));
        _exit(127);
    }
    pid_ = pid;
    return true;
}

void SaverProcess::stop() {
    if (pid_ == 0) return;
    kill(pid_, SIGTERM);
    for (int waited = 0;; waited += STEP_MS) {
        const pid_t got = waitpid(pid_, nullptr, WNOHANG);
        if (got == pid_ || (got < 0 && errno == ECHILD)) break;
        if (waited >= GRACE_MS) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            break;
        }
        usleep(STEP_MS * 1000);
    }
    pid_ = 0;
}

}  // namespace smokedrift::idle
