#include "idle/saver_process.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/child_process.h"

namespace smokedrift::idle {

bool SaverProcess::start() {
    std::vector<char*> argv;
    std::string program = "smokedrift";
    std::string mode = "/s";
    argv.push_back(program.data());
    argv.push_back(mode.data());
    for (std::string& o : options_) argv.push_back(o.data());
    argv.push_back(nullptr);

    const pid_t pid = forkChild();
    if (pid < 0) {
        std::fprintf(stderr, "smokedrift: --idle: cannot start the saver: %s\n", std::strerror(errno));
        return false;
    }
    if (pid == 0) execSelf(argv.data(), "smokedrift: --idle: cannot run the saver");
    pid_ = pid;
    return true;
}

// On Wayland the saver is itself the supervisor of a process per output, which it stops first.
void SaverProcess::stop() { stopChildren({&pid_, 1}, SUPERVISOR_STOP_GRACE_MS); }

}  // namespace smokedrift::idle
