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

// Held from 'h' until 'r', which also says that it may have ended.
class ScriptedInhibitions final : public InhibitionCheck {
public:
    Holding check() override { return {held || locked, held ? "a player" : "", held || locked ? 5000 : 0, locked}; }
    bool held = false;
    bool locked = false;  // the desktop's own lock
};

struct Case {
    const char* script;  // I idle, A active, G gone (a read each; "(IA)" in one read), E the saver
                         // ends, T a stop signal, x the next start fails, h an inhibition taken,
                         // r released, s simulated activity, v started on request, n an
                         // inhibition taken and announced, l the desktop's lock up and
                         // announced, w a minute passes
    const char* calls;
    WatcherState state;
    int code;
};

}  // namespace

TEST(IdleWatcher, RunsTheSaverOncePerUninhibitedIdleStretchUntilTheUserIsBackAndEndsOnStopOrLoss) {
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
        // Inhibited when idle: the saver waits for the end of the inhibition, not for the user.
        {"hI", "", S::IdleButInhibited, KEEP_WATCHING},
        {"hIr", "start ", S::SaverRunning, KEEP_WATCHING},
        {"hIAr", "", S::WaitingForIdle, KEEP_WATCHING},
        {"hIArI", "start ", S::SaverRunning, KEEP_WATCHING},
        {"Ih", "start ", S::SaverRunning, KEEP_WATCHING},  // a running saver goes on until input
        // Simulated activity: the saver ends and the session waits again, idle as it is.
        {"Ihs", "start stop ", S::IdleButInhibited, KEEP_WATCHING},
        {"Ihsr", "start stop start ", S::SaverRunning, KEEP_WATCHING},
        {"s", "", S::WaitingForIdle, KEEP_WATCHING},
        // Started on request: ended by input, or by the user coming back after the source's idle.
        {"vE", "start ", S::WaitingForIdle, KEEP_WATCHING},
        {"vEI", "start start ", S::SaverRunning, KEEP_WATCHING},
        {"vIA", "start stop ", S::WaitingForIdle, KEEP_WATCHING},
        {"vIE", "start ", S::WaitingForActivity, KEEP_WATCHING},
        {"hIv", "start ", S::SaverRunning, KEEP_WATCHING},
        {"xv", "start-fails ", S::WaitingForIdle, KEEP_WATCHING},
        // Announced just after the start (Plasma counts late): taken before it, so the saver ends.
        {"In", "start stop ", S::IdleButInhibited, KEEP_WATCHING},
        {"Inr", "start stop start ", S::SaverRunning, KEEP_WATCHING},
        {"Iwn", "start ", S::SaverRunning, KEEP_WATCHING},
        // The desktop's own lock: no saver under it, and one running ends.
        {"lI", "", S::IdleButInhibited, KEEP_WATCHING},
        {"Iwl", "start stop ", S::IdleButInhibited, KEEP_WATCHING},
    };
    for (const Case& c : cases) {
        ScriptedSource source;
        ScriptedSaver saver;
        ScriptedInhibitions inhibitions;
        std::int64_t now = 0;
        IdleWatcher watcher(saver, inhibitions, nullptr, [&now] { return now; });
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
            case 'h': inhibitions.held = true; break;
            case 'r':
                inhibitions.held = false;
                watcher.onInhibitionsChanged();
                break;
            case 's': watcher.onSimulatedActivity(); break;
            case 'v': watcher.activate(); break;
            case 'n':
            case 'l':
                (*p == 'n' ? inhibitions.held : inhibitions.locked) = true;
                watcher.onInhibitionsChanged();
                break;
            case 'w': now += 60000; break;
            }
            if (!batch && !source.ready.empty() && code == KEEP_WATCHING) code = watcher.onSourceReady(source);
        }
        EXPECT_EQ(saver.calls, c.calls) << c.script;
        EXPECT_EQ(watcher.state(), c.state) << c.script;
        EXPECT_EQ(code, c.code) << c.script;
        EXPECT_EQ(watcher.recheckMs(), c.state == S::IdleButInhibited ? 5000 : 0) << c.script;
    }
}
