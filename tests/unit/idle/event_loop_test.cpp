#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>

#include "idle/event_loop.h"
#include "idle/idle_watcher.h"

using namespace smokedrift::idle;

namespace {

// A source whose library queues events in the process, as Xlib does: its descriptor stays quiet
// for what a call on the same connection already read.
class QueuingSource final : public IdleSource {
public:
    explicit QueuingSource(int fd) : fd_(fd) {}
    const char* name() const override { return "queuing"; }
    bool start(std::uint32_t) override { return true; }
    int fd() const override { return fd_; }
    bool pending() override { return !queued.empty(); }
    IdleEvent dispatch() override {
        if (queued.empty()) return IdleEvent::None;
        const IdleEvent e = queued.front();
        queued.pop_front();
        return e;
    }
    std::deque<IdleEvent> queued;

private:
    int fd_;
};

// The X server's saver switched off: its question is a round trip on the source's connection,
// which reads the "user is active" alarm that came meanwhile into the source's queue.
class RoundTripCheck final : public InhibitionCheck {
public:
    explicit RoundTripCheck(QueuingSource& source) : source_(source) {}
    Holding check() override {
        if (inputArrived) source_.queued.push_back(IdleEvent::Active);
        inputArrived = false;
        return {held, held ? "xset s off" : "", held ? RECHECK_MS : 0, false};
    }
    bool held = true;
    bool inputArrived = false;

private:
    QueuingSource& source_;
};

class CountedSaver final : public SaverChild {
public:
    bool start() override { return ++starts, true; }
    void stop() override {}
    int starts = 0;
};

}  // namespace

TEST(EventLoop, AnEventACheckReadIsTakenBeforeTheNextWait) {
    int quiet[2], timer[2];
    ASSERT_EQ(pipe(quiet), 0);
    ASSERT_EQ(pipe(timer), 0);
    QueuingSource source(quiet[0]);
    RoundTripCheck check(source);
    CountedSaver saver;
    IdleWatcher watcher(saver, check, nullptr);
    EventLoop loop;
    loop.add({[&] {
                  return pollfd{source.fd(), POLLIN, 0};
              },
              [&] { return source.pending(); }, [&](short) { return watcher.onSourceReady(source) == KEEP_WATCHING; }});
    // The re-check timer, left readable: each turn asks the check again.
    loop.add({[&] {
                  return pollfd{timer[0], POLLIN, 0};
              },
              nullptr,
              [&](short) {
                  watcher.onInhibitionsChanged();
                  return true;
              }});
    ASSERT_EQ(write(timer[1], "t", 1), 1);

    watcher.onEvent(IdleEvent::Idle, source.name());
    ASSERT_EQ(watcher.state(), WatcherState::IdleButInhibited);
    check.inputArrived = true;  // the user is back; the re-check reads the alarm
    ASSERT_TRUE(loop.turn());
    check.held = false;  // then the inhibition ends
    ASSERT_TRUE(loop.turn());

    EXPECT_EQ(saver.starts, 0) << "the saver started although the user came back";
    EXPECT_EQ(watcher.state(), WatcherState::WaitingForIdle);
    for (const int fd : {quiet[0], quiet[1], timer[0], timer[1]}) close(fd);
}
