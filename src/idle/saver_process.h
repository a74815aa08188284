#pragma once
// The saver as a child of the watcher: this very program run again with /s and the scene options
// the watcher was given, so it takes the same path as a saver started by hand, and a crash of the
// saver never takes the watcher with it.
#include <sys/types.h>

#include <string>
#include <vector>

#include "idle/idle_watcher.h"

namespace smokedrift::idle {

class SaverProcess final : public SaverChild {
public:
    // `options` follow "/s" on the saver's command line.
    explicit SaverProcess(std::vector<std::string> options) : options_(std::move(options)) {}
    ~SaverProcess() override { stop(); }

    bool start() override;
    void stop() override;

    pid_t pid() const { return pid_; }
    // The loop reaped it (SIGCHLD).
    void forget() { pid_ = 0; }

private:
    std::vector<std::string> options_;
    pid_t pid_ = 0;
};

}  // namespace smokedrift::idle
