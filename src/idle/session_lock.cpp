#include "idle/session_lock.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace smokedrift::idle {

namespace {

bool set(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

std::string sessionLockName(unsigned uid, const char* waylandDisplay, const char* runtimeDir, const char* x11Display,
                            const char* sessionBus) {
    std::string session;
    if (set(waylandDisplay)) {
        // "wayland-0" in two runtime folders are two compositors.
        session = waylandDisplay[0] == '/' || !set(runtimeDir) ? std::string(waylandDisplay)
                                                               : std::string(runtimeDir) + "/" + waylandDisplay;
    } else if (set(x11Display)) {
        session = std::string("x11:") + x11Display;
    } else if (set(sessionBus)) {
        session = std::string("bus:") + sessionBus;
    } else {
        return "";
    }
    std::string name = "smokedrift-idle-" + std::to_string(uid) + "-" + session;
    // The abstract name has the room of sun_path less its leading zero byte.
    constexpr std::size_t ROOM = sizeof(sockaddr_un::sun_path) - 1;
    if (name.size() > ROOM) name.resize(ROOM);
    return name;
}

LockResult takeSessionLock(const std::string& name) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return LockResult::Failed;
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), size) == 0) return LockResult::Taken;
    const bool held = errno == EADDRINUSE;
    close(fd);
    return held ? LockResult::HeldByAnother : LockResult::Failed;
}

}  // namespace smokedrift::idle
