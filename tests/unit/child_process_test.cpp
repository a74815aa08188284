// Stopping and reaping the children of a process touches those named and no other.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "base/child_process.h"

namespace {

using namespace smokedrift;

pid_t child(bool ignoresStop) {
    const pid_t pid = forkChild();
    if (pid == 0) {
        if (ignoresStop) signal(SIGTERM, SIG_IGN);
        for (;;) pause();
    }
    return pid;
}

TEST(ChildProcess, StoppingKillsWhatOutstaysTheGraceAndLeavesOtherChildrenAlone) {
    // A child that has ended and waits to be reaped by whoever started it for that.
    const pid_t bystander = forkChild();
    if (bystander == 0) _exit(7);
    siginfo_t info = {};
    waitid(P_PID, static_cast<id_t>(bystander), &info, WEXITED | WNOWAIT);
    pid_t pids[] = {child(false), 0, child(true)};
    const pid_t named[] = {pids[0], pids[2]};
    stopChildren(pids, 0);
    EXPECT_EQ(pids[0] | pids[1] | pids[2], 0);
    for (const pid_t pid : named) EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1) << "reaped";
    int status = 0;
    ASSERT_TRUE(reapChild(bystander, status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
}

}  // namespace
