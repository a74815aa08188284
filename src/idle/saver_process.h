#pragma once
// The saver as a child of the watcher: this very program run again with /s and the scene options
// the watcher was given, so it takes the same path as a saver started by hand, and a crash of the
// saver never takes the watcher with it.
#include <sys/types.h>

#include <string>
#include <vector>

#include "idle/idle_source.h"
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

// The saver as the watcher starts it, with the source told first (IdleSource::saverStarting).
class SourceReadiedSaver final : public SaverChild {
public:
    SourceReadiedSaver(SaverChild& saver, IdleSource& source) : saver_(saver), source_(source) {}

    bool start() override {
        source_.saverStarting();
        return saver_.start();
    }
    void stop() override { saver_.stop(); }

private:
    SaverChild& saver_;
    IdleSource& source_;
};

}  // namespace smokedrift::idle
