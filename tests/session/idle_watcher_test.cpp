#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "idle/idle_watcher.h"

using namespace smokedrift::idle;

namespace {

// Hands out the events of one read at a time.
class ScriptedSource final : public IdleSource {
public:
    const char* name() const override { return "scripted"; }
    bool start(std::uint32_t) override { return true; }
    int fd() const override { return -1; }
    IdleEvent dispatch() override {
        if (ready.empty()) return IdleEvent::None;
        const IdleEvent e = ready.front();
        ready.pop_front();
        return e;
    }
    std::deque<IdleEvent> ready;
};

class ScriptedSaver final : public SaverChild {
public:
    bool start() override {
        calls += failNext ? "start-fails " : "start ";
        const bool ok = !failNext;
        failNext = false;
        return ok;
    }
    void stop() override { calls += "stop "; }
    std::string calls;
    bool failNext = false;
};

struct Case {
    const char* script;  // I idle, A active, G gone (a read each; "(IA)" in one read), E the saver
                         // ends, T a stop signal, x the next start fails
    const char* calls;
    WatcherState state;
    int code;
};

}  // namespace

TEST(IdleWatcher, RunsTheSaverOncePerIdleStretchUntilTheUserIsBackAndEndsOnStopOrLoss) {
    using S = WatcherState;
    const Case cases[] = {
        {"", "", S::WaitingForIdle, KEEP_WATCHING},
        {"I", "start ", S::SaverRunning, KEEP_WATCHING},
        {"AI", "start ", S::SaverRunning, KEEP_WATCHING},  // activity before idle changes nothing
        // The saver ended on input: it is gone when the session reports the input, or about to go.
        {"IEA", "start ", S::WaitingForIdle, KEEP_WATCHING},
        {"IEAI", "start start ", S::SaverRunning, KEEP_WATCHING},
        {"IA", "start stop ", S::WaitingForIdle, KEEP_WATCHING},
        {"(IA)", "start stop ", S::WaitingForIdle, KEEP_WATCHING},
        {"IAI", "start stop start ", S::SaverRunning, KEEP_WATCHING},
        // The saver ended with nobody back: the next idle stretch needs activity first.
        {"IE", "start ", S::WaitingForActivity, KEEP_WATCHING},
        {"IEI", "start ", S::WaitingForActivity, KEEP_WATCHING},
        {"xI", "start-fails ", S::WaitingForActivity, KEEP_WATCHING},
        {"xIAI", "start-fails start ", S::SaverRunning, KEEP_WATCHING},
        {"IT", "start stop ", S::SaverRunning, 0},
        {"T", "stop ", S::WaitingForIdle, 0},
        {"IG", "start stop ", S::SaverRunning, 255},
        {"(GI)", "stop ", S::WaitingForIdle, 255},  // nothing read after the loss counts
    };
    for (const Case& c : cases) {
        ScriptedSource source;
        ScriptedSaver saver;
        IdleWatcher watcher(saver, nullptr);
        int code = KEEP_WATCHING;
        bool batch = false;
        for (const char* p = c.script; *p != '\0' && code == KEEP_WATCHING; ++p) {
            switch (*p) {
            case '(': batch = true; break;
            case ')': batch = false; break;
            case 'I': source.ready.push_back(IdleEvent::Idle); break;
            case 'A': source.ready.push_back(IdleEvent::Active); break;
            case 'G': source.ready.push_back(IdleEvent::Gone); break;
            case 'E': code = watcher.onSaverEnded(0); break;
            case 'T': code = watcher.onStopSignal(); break;
            case 'x': saver.failNext = true; break;
            }
            if (!batch && !source.ready.empty() && code == KEEP_WATCHING) code = watcher.onSourceReady(source);
        }
        EXPECT_EQ(saver.calls, c.calls) << c.script;
        EXPECT_EQ(watcher.state(), c.state) << c.script;
        EXPECT_EQ(code, c.code) << c.script;
    }
}
