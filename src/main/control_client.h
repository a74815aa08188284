#pragma once
// smokedrift --status [--json], --activate, --pause DURATION, --resume, --watch [--json]: the
// watcher's control interface (idle/control_service.h) from the command line.
namespace smokedrift {

enum class ControlCommand { Status, Activate, Pause, Resume, Watch };

struct ControlRequest {
    ControlCommand command = ControlCommand::Status;
    bool json = false;
    long seconds = 0;  // --pause
};

// Exit codes: 0 done, NO_WATCHER with one line on stderr when no watcher answers (or it ended
// under --watch).
constexpr int NO_WATCHER = 1;

int runControl(const ControlRequest& request);

}  // namespace smokedrift
