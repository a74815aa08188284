#include "offscreen/output_file.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>

#include "base/arguments.h"

namespace smokedrift {

namespace {

constexpr int CLEANUP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

// The temporary file a signal must remove, kept where a handler may read it without allocating.
char pendingTemporary[PATH_MAX] = {};
struct sigaction previousActions[3];

void removeAndDie(int signal) {
    if (pendingTemporary[0] != '\0') unlink(pendingTemporary);
    // Die of the signal as if nothing had caught it, so the caller sees how the run ended.
    std::signal(signal, SIG_DFL);
    raise(signal);
}

void guardTemporary(const std::string& name) {
    std::snprintf(pendingTemporary, sizeof(pendingTemporary), "%s", name.c_str());
    struct sigaction action = {};
    action.sa_handler = &removeAndDie;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i) {
        sigaction(CLEANUP_SIGNALS[i], nullptr, &previousActions[i]);
        // One the caller chose to ignore (nohup, a script's background job) stays ignored: the
        // run goes on, and the temporary file goes at its end like at any other.
        const struct sigaction& was = previousActions[i];
        if ((was.sa_flags & SA_SIGINFO) == 0 && was.sa_handler == SIG_IGN) continue;
        sigaction(CLEANUP_SIGNALS[i], &action, nullptr);
    }
}

void unguardTemporary() {
    for (int i = 0; i < 3; ++i) sigaction(CLEANUP_SIGNALS[i], &previousActions[i], nullptr);
    pendingTemporary[0] = '\0';
}

std::string directoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string reason(const std::string& path, const std::string& why) {
    return "cannot write " + printable(path) + ": " + why;
}

// An existing file is replaced only where the user could write it with open(): the kernel decides
// (permissions, a read-only mount, a link it will not follow). Through a link (a link to a picture
// elsewhere) the file it names is meant, and is renamed over where it lies.
bool replaceable(const std::string& path, const struct stat& found, bool link, std::string& destination,
                 std::string& error) {
    // Not truncated, not created; O_NONBLOCK keeps a pipe swapped in meanwhile from stalling us.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = reason(path, std::strerror(errno));
        return false;
    }
    struct stat opened = {};
    const bool same = fstat(fd, &opened) == 0 && opened.st_dev == found.st_dev && opened.st_ino == found.st_ino;
    close(fd);
    if (!link && same) return true;
    char real[PATH_MAX];
    struct stat resolved = {};
    // realpath walks the links itself, where the kernel's rules do not apply: it must land on the
    // file the kernel opened.
    if (!same || realpath(path.c_str(), real) == nullptr || stat(real, &resolved) != 0 ||
        resolved.st_dev != opened.st_dev || resolved.st_ino != opened.st_ino) {
        error = reason(path, "it changed while it was looked at");
        return false;
    }
    destination = real;
    return true;
}

// Our standard output or error when it is this very file, open for writing; -1 when neither is.
// `--out /dev/stdout` with stdout a file: the shell has opened it (`>`) or placed us at its end
// (`>>`, after a header of its own), and a file renamed over it would lose that.
int standardStreamOf(const struct stat& found) {
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat opened = {};
        const int flags = fcntl(fd, F_GETFL);
        if (flags >= 0 && (flags & O_ACCMODE) != O_RDONLY && fstat(fd, &opened) == 0 && opened.st_dev == found.st_dev &&
            opened.st_ino == found.st_ino) {
            return fd;
        }
    }
    return -1;
}

bool mayOverrideOwners() {
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    return syscall(SYS_capget, &header, data) == 0 &&
           (data[CAP_FOWNER / 32].effective & (1U << (CAP_FOWNER % 32))) != 0;
}

// The commit renames over `file` in `dir`; in a sticky folder (/tmp) only the file's owner, the
// folder's or CAP_FOWNER may, although open() for writing lets anyone write another account's
// 0666 file. Asked before the work, not found out after it.
bool renameAllowed(const std::string& dir, const struct stat& file) {
    struct stat folder = {};
    if (stat(dir.c_str(), &folder) != 0 || (folder.st_mode & S_ISVTX) == 0) return true;
    const uid_t me = geteuid();
    return file.st_uid == me || folder.st_uid == me || mayOverrideOwners();
}

}  // namespace

OutputFile::~OutputFile() { discard(); }

std::string OutputFile::failure(int errnum) const { return reason(path, std::strerror(errnum)); }

bool OutputFile::open(const std::string& target, std::string& error) {
    discard();
    path = target;
    destination = path;
    // Said plainly before the kernel's "File name too long"; a file a link leads to has a name
    // that fits.
    const long nameMax = pathconf(directoryOf(path).c_str(), _PC_NAME_MAX);
    const std::string name = path.substr(path.find_last_of('/') + 1);
    if (nameMax > 0 && static_cast<long>(name.size()) > nameMax) {
        error = reason(path, "the name is longer than " + std::to_string(nameMax) + " bytes");
        return false;
    }
    // The kernel says what the name leads to for this user: stat follows a link only where open()
    // would, so another account's link in a sticky folder gives EACCES here, as it would to the
    // user's own shell. ENOENT alone means a name not taken (or a link to none, which the file
    // then replaces): anything else is no place to write.
    struct stat entry = {};
    struct stat found = {};
    const bool named = lstat(path.c_str(), &entry) == 0;
    if (!named && errno != ENOENT) {
        error = reason(path, std::strerror(errno));
        return false;
    }
    const bool exists = named && stat(path.c_str(), &found) == 0;
    if (named && !exists && errno != ENOENT) {
        error = reason(path, std::strerror(errno));
        return false;
    }
    if (exists && S_ISDIR(found.st_mode)) {
        error = reason(path, "it is a directory");
        return false;
    }
    if (exists && !S_ISREG(found.st_mode)) {
        // A device or a pipe is the destination itself: renaming over it would replace it.
        file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) error = reason(path, std::strerror(errno));
        return file != nullptr;
    }
    if (const int stream = exists ? standardStreamOf(found) : -1; stream >= 0) {
        // Written where the stream stands, as a device is: dup keeps the shell's offset and O_APPEND.
        const int fd = fcntl(stream, F_DUPFD_CLOEXEC, 3);
        file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
        if (file == nullptr) {
            error = reason(path, std::strerror(errno));
            if (fd >= 0) close(fd);
        }
        return file != nullptr;
    }
    if (exists && !replaceable(path, found, S_ISLNK(entry.st_mode), destination, error)) return false;
    const std::string dir = directoryOf(destination);
    if (exists && !renameAllowed(dir, found)) {
        error = reason(path, "another account's file in a sticky folder, which only its owner may replace");
        return false;
    }
    // A signal between creating the file and guarding it would leave the file behind: hold the
    // signals until the guard is in place, then take any that came (one ignored on entry is
    // dropped then, as it would have been).
    sigset_t cleanupSignals, previousMask;
    sigemptyset(&cleanupSignals);
    for (const int signal : CLEANUP_SIGNALS) sigaddset(&cleanupSignals, signal);
    sigprocmask(SIG_BLOCK, &cleanupSignals, &previousMask);
    // mkstemp creates the name exclusively (O_CREAT | O_EXCL): a planted link is never followed.
    std::string pattern = dir + "/.smokedrift-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        const int why = errno;
        sigprocmask(SIG_SETMASK, &previousMask, nullptr);
        error = reason(path, std::strerror(why));
        return false;
    }
    // mkstemp makes the file private; a picture gets the permissions any new file would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    temporary = pattern;
    guardTemporary(temporary);
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    file = fdopen(fd, "wb");
    if (file == nullptr) {
        error = reason(path, std::strerror(errno));
        close(fd);
        discard();
        return false;
    }
    return true;
}

bool OutputFile::commit(std::string& error) {
    if (file == nullptr) {
        error = reason(path, "not open");
        return false;
    }
    int why = 0;
    // A full disk or device often shows only at flush or close.
    if (std::fflush(file) != 0 || std::ferror(file)) why = errno != 0 ? errno : EIO;
    if (std::fclose(file) != 0 && why == 0) why = errno != 0 ? errno : EIO;
    file = nullptr;
    if (why == 0 && !temporary.empty() && std::rename(temporary.c_str(), destination.c_str()) != 0) why = errno;
    if (why != 0) {
        error = failure(why);
        discard();
        return false;
    }
    if (!temporary.empty()) {
        temporary.clear();
        unguardTemporary();
    }
    return true;
}

void OutputFile::discard() {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
    if (!temporary.empty()) {
        unlink(temporary.c_str());
        temporary.clear();
        unguardTemporary();
    }
}

}  // namespace smokedrift
