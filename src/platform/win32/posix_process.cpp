// Process services every POSIX window system shares: the clock, and stop signals a poll loop can
// wait on.
#include "platform/win32/posix_process.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <ctime>

namespace smokedrift {

namespace {

int stopPipe[2] = {-1, -1};
volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal(int) {
    stopRequested = 1;
    if (stopPipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = write(stopPipe[1], &byte, 1);
    }
}

}  // namespace

namespace posix {

std::uint64_t nowMilliseconds() {
    timespec ts = {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
}

void installStopHandlers() {
    if (stopPipe[0] >= 0) return;
    if (pipe(stopPipe) == 0) {
        for (int fd : stopPipe) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK | O_CLOEXEC);
        for (int fd : stopPipe) fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction action = {};
    action.sa_handler = &onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool takeStopRequest() {
    if (stopRequested == 0) return false;
    stopRequested = 0;
    char drain[16];
    while (stopPipe[0] >= 0 && read(stopPipe[0], drain, sizeof(drain)) > 0) {
    }
    return true;
}

int stopFd() { return stopPipe[0]; }

void forgetStopHandlers() {
    for (int& fd : stopPipe) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    stopRequested = 0;
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
}

}  // namespace posix
}  // namespace smokedrift
