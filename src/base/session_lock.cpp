#include "base/session_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace smokedrift {

namespace {

bool set(const char* value) { return value != nullptr && *value != '\0'; }

// "[host]:N[.S]" as "host:N": the screen dropped, "unix" and no host both the local socket.
std::string x11Server(std::string_view display) {
    const std::size_t colon = display.rfind(':');
    if (colon == std::string_view::npos) return std::string(display);
    std::string_view host = display.substr(0, colon);
    std::string_view number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (host == "unix") host = "";
    return std::string(host) + ":" + std::string(number);
}

// A folder of ours, not a link, that group and others cannot enter; -1 otherwise.
int openPrivateFolder(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st = {};
    if (fstat(fd, &st) == 0 && st.st_uid == geteuid() && (st.st_mode & 077) == 0) return fd;
    close(fd);
    errno = EACCES;
    return -1;
}

int lockFolder(const char* runtimeDir, const char* tmpDir) {
    if (set(runtimeDir) && runtimeDir[0] == '/') {
        const int fd = openPrivateFolder(runtimeDir);
        if (fd >= 0) return fd;
    }
    // No runtime folder of ours (unset, or another user's when root runs in their session).
    const std::string folder =
        std::string(set(tmpDir) && tmpDir[0] == '/' ? tmpDir : "/tmp") + "/smokedrift-" + std::to_string(geteuid());
    mkdir(folder.c_str(), 0700);  // whose it is, if it was there, is checked next
    return openPrivateFolder(folder);
}

// FNV-1a: a file name of fixed length for a session of any length.
std::uint64_t hash(const std::string& text) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : text) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

}  // namespace

std::string sessionKey(const char* waylandDisplay, const char* runtimeDir, const char* x11Display,
                       const char* sessionBus) {
    if (set(waylandDisplay)) {
        // "wayland-0" in two runtime folders are two compositors.
        return waylandDisplay[0] == '/' || !set(runtimeDir) ? std::string(waylandDisplay)
                                                            : std::string(runtimeDir) + "/" + waylandDisplay;
    }
    if (set(x11Display)) return "x11:" + x11Server(x11Display);
    if (set(sessionBus)) return std::string("bus:") + sessionBus;
    return "";
}

SessionLock takeSessionLock(const char* purpose, const std::string& session, const char* runtimeDir,
                            const char* tmpDir) {
    SessionLock lock;
    const int folder = lockFolder(runtimeDir, tmpDir);
    if (folder < 0) return lock;
    char name[64];
    std::snprintf(name, sizeof name, "smokedrift-%s-%016llx.lock", purpose,
                  static_cast<unsigned long long>(hash(session)));
    const int fd = openat(folder, name, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    const int error = errno;
    close(folder);
    if (fd < 0) {
        errno = error;
        return lock;
    }
    struct stat st = {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
        close(fd);
        errno = EACCES;
        return lock;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        lock.result = LockResult::Taken;
        lock.fd = fd;
        return lock;
    }
    const bool held = errno == EWOULDBLOCK;
    close(fd);
    if (held) lock.result = LockResult::HeldByUs;
    return lock;
}

}  // namespace smokedrift
