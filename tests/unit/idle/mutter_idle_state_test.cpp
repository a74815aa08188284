// The GNOME idle source's reading of bus messages, without a bus: mutter's watches, the session
// manager's inhibitors, and messages that do not come from the owners of those names.
#include <gtest/gtest.h>

#include <vector>

#include "idle/mutter_idle_state.h"

namespace smokedrift::idle {
namespace {

constexpr const char* MUTTER = ":1.0";
constexpr const char* MANAGER = ":1.2";
constexpr std::uint32_t IDLE_WATCH = 5;
constexpr std::uint32_t MS = 2000;

BusMessage watchFired(std::uint64_t id, std::string_view sender = MUTTER) {
    BusMessage m;
    m.sender = sender;
    m.path = MUTTER_IDLE_PATH;
    m.interface = MUTTER_IDLE_NAME;
    m.member = "WatchFired";
    m.signature = "u";
    m.number = id;
    return m;
}

BusMessage inhibitorRemoved(std::string_view sender = MANAGER) {
    BusMessage m;
    m.sender = sender;
    m.path = SESSION_MANAGER_PATH;
    m.interface = SESSION_MANAGER_NAME;
    m.member = "InhibitorRemoved";
    m.signature = "o";
    m.text[0] = "/org/gnome/SessionManager/Inhibitor1";
    return m;
}

BusMessage ownerChanged(std::string_view name, std::string_view from, std::string_view to) {
    BusMessage m;
    m.sender = BUS_NAME;
    m.path = "/org/freedesktop/DBus";
    m.interface = BUS_NAME;
    m.member = "NameOwnerChanged";
    m.signature = "sss";
    m.text[0] = name;
    m.text[1] = from;
    m.text[2] = to;
    return m;
}

BusMessage reply(MutterCall call, std::string_view signature, std::uint64_t number) {
    BusMessage m;
    m.type = BusMessage::Type::Reply;
    m.call = call;
    m.sender = call == MutterCall::IsInhibited ? MANAGER : MUTTER;
    m.signature = signature;
    m.number = number;
    return m;
}

BusMessage error(MutterCall call) {
    BusMessage m;
    m.type = BusMessage::Type::Error;
    m.call = call;
    m.signature = "s";
    return m;
}

std::vector<IdleEvent> events(const MutterReaction& r) { return {r.events, r.events + r.eventCount}; }

std::vector<MutterCall> calls(const MutterReaction& r) {
    std::vector<MutterCall> out;
    for (int i = 0; i < r.requestCount; ++i) out.push_back(r.requests[i].call);
    return out;
}

using Events = std::vector<IdleEvent>;
using Calls = std::vector<MutterCall>;

struct MutterIdleStateTest : ::testing::Test {
    MutterIdleState state{MUTTER, MANAGER, MS, IDLE_WATCH};

    // The idle watch fired and the manager said idle is inhibited.
    void inhibited() {
        ASSERT_EQ(calls(state.receive(watchFired(IDLE_WATCH))), Calls{MutterCall::IsInhibited});
        ASSERT_TRUE(events(state.receive(reply(MutterCall::IsInhibited, "b", 1))).empty());
    }

    // Idle reported, the user-active watch 9 armed.
    void idle() {
        state.receive(watchFired(IDLE_WATCH));
        ASSERT_EQ(events(state.receive(reply(MutterCall::IsInhibited, "b", 0))), Events{IdleEvent::Idle});
        state.receive(reply(MutterCall::AddUserActiveWatch, "u", 9));
    }
};

TEST_F(MutterIdleStateTest, IdleOnceTheManagerSaysNothingInhibitsOrThereIsNone) {
    for (const BusMessage& answer : {reply(MutterCall::IsInhibited, "b", 0), error(MutterCall::IsInhibited)}) {
        MutterIdleState s{MUTTER, "", MS, IDLE_WATCH};
        EXPECT_EQ(calls(s.receive(watchFired(IDLE_WATCH))), Calls{MutterCall::IsInhibited});
        const MutterReaction r = s.receive(answer);
        EXPECT_EQ(events(r), Events{IdleEvent::Idle});
        EXPECT_EQ(calls(r), Calls{MutterCall::AddUserActiveWatch});
    }
}

TEST_F(MutterIdleStateTest, AnInhibitorThatGoesLeadsToIdleOnlyIfTheSessionStayedIdle) {
    struct Case {
        std::uint64_t idletime;
        Events expected;
    };
    for (const Case& c : {Case{MS, {IdleEvent::Idle}}, Case{MS - 1, {}}}) {
        state = MutterIdleState{MUTTER, MANAGER, MS, IDLE_WATCH};
        inhibited();
        EXPECT_EQ(calls(state.receive(inhibitorRemoved())), Calls{MutterCall::IsInhibited});
        EXPECT_EQ(calls(state.receive(reply(MutterCall::IsInhibited, "b", 0))), Calls{MutterCall::GetIdletime});
        EXPECT_EQ(events(state.receive(reply(MutterCall::GetIdletime, "t", c.idletime))), c.expected);
    }
    // Not idle long enough: the next idle stretch asks the manager again.
    EXPECT_EQ(calls(state.receive(watchFired(IDLE_WATCH))), Calls{MutterCall::IsInhibited});
}

TEST_F(MutterIdleStateTest, TheManagerLeavingTheBusTakesItsInhibitorsAlong) {
    inhibited();
    EXPECT_EQ(calls(state.receive(ownerChanged(SESSION_MANAGER_NAME, MANAGER, ""))), Calls{MutterCall::GetIdletime});
}

TEST_F(MutterIdleStateTest, TheUserActiveWatchOrASecondIdleStretchMeansActive) {
    idle();
    EXPECT_EQ(events(state.receive(watchFired(9))), Events{IdleEvent::Active});
    // A second stretch: mutter re-arms the idle watch only after input.
    idle();
    const MutterReaction r = state.receive(watchFired(IDLE_WATCH));
    EXPECT_EQ(events(r), Events{IdleEvent::Active});
    ASSERT_EQ(calls(r), (Calls{MutterCall::RemoveWatch, MutterCall::IsInhibited}));
    EXPECT_EQ(r.requests[0].watch, 9u);
}

TEST_F(MutterIdleStateTest, AUserActiveWatchNoLongerWantedIsRemovedWhenItsIdArrives) {
    state.receive(watchFired(IDLE_WATCH));
    state.receive(reply(MutterCall::IsInhibited, "b", 0));
    // Idle again before AddUserActiveWatch answered: two answers to come, the first one stale.
    state.receive(watchFired(IDLE_WATCH));
    state.receive(reply(MutterCall::IsInhibited, "b", 0));
    const MutterReaction r = state.receive(reply(MutterCall::AddUserActiveWatch, "u", 9));
    ASSERT_EQ(calls(r), Calls{MutterCall::RemoveWatch});
    EXPECT_EQ(r.requests[0].watch, 9u);
    EXPECT_EQ(state.receive(reply(MutterCall::AddUserActiveWatch, "u", 10)).requestCount, 0);
    EXPECT_EQ(events(state.receive(watchFired(10))), Events{IdleEvent::Active});
}

TEST_F(MutterIdleStateTest, SignalsCountOnlyFromTheOwnerWithTheirPathAndSignature) {
    BusMessage wrongPath = watchFired(IDLE_WATCH);
    wrongPath.path = "/org/gnome/Mutter/IdleMonitor/Device";
    BusMessage wrongSignature = watchFired(IDLE_WATCH);
    wrongSignature.signature = "t";
    BusMessage forgedOwnerChange = ownerChanged(MUTTER_IDLE_NAME, MUTTER, "");
    forgedOwnerChange.sender = ":1.7";
    for (const BusMessage& m : {watchFired(IDLE_WATCH, ":1.7"), watchFired(IDLE_WATCH, ""), wrongPath, wrongSignature,
                                forgedOwnerChange, reply(MutterCall::IsInhibited, "b", 0)}) {
        const MutterReaction r = state.receive(m);
        EXPECT_EQ(r.eventCount + r.requestCount, 0) << m.sender << " " << m.path << " " << m.signature;
    }
    inhibited();
    EXPECT_TRUE(calls(state.receive(inhibitorRemoved(MUTTER))).empty());
}

TEST_F(MutterIdleStateTest, TheBusClosingIsGoneAndTheLastWord) {
    EXPECT_EQ(events(state.receive(BusMessage::closed())), Events{IdleEvent::Gone});
    EXPECT_EQ(state.receive(watchFired(IDLE_WATCH)).requestCount, 0);
    std::uint32_t watches[2];
    EXPECT_EQ(state.watchesToRemove(watches), 0);
}

// Mutter replaced: the old owner leaves the name, the source follows the new one (:1.9, idle
// watch 3) or, without one, closes.
TEST_F(MutterIdleStateTest, AReplacedMutterIsFollowedToItsSuccessor) {
    constexpr const char* SUCCESSOR = ":1.9";
    EXPECT_TRUE(events(state.receive(ownerChanged(MUTTER_IDLE_NAME, "", SUCCESSOR))).empty());
    EXPECT_FALSE(state.lost());
    EXPECT_TRUE(events(state.receive(ownerChanged(MUTTER_IDLE_NAME, MUTTER, ""))).empty());
    ASSERT_TRUE(state.lost());
    EXPECT_TRUE(calls(state.follow(SUCCESSOR, 3)).empty());
    EXPECT_TRUE(calls(state.receive(watchFired(IDLE_WATCH))).empty());  // the old owner's
    EXPECT_EQ(calls(state.receive(watchFired(3, SUCCESSOR))), Calls{MutterCall::IsInhibited});

    // Replaced while idle: the saver stays until the successor's user-active watch fires; its
    // idle watch, which fires at once on an idle session, says nothing.
    state = MutterIdleState{MUTTER, MANAGER, MS, IDLE_WATCH};
    idle();
    state.receive(ownerChanged(MUTTER_IDLE_NAME, MUTTER, SUCCESSOR));
    ASSERT_EQ(calls(state.follow(SUCCESSOR, 3)), Calls{MutterCall::AddUserActiveWatch});
    BusMessage answer = reply(MutterCall::AddUserActiveWatch, "u", 4);
    answer.sender = SUCCESSOR;
    state.receive(answer);
    EXPECT_TRUE(events(state.receive(watchFired(3, SUCCESSOR))).empty());
    EXPECT_EQ(events(state.receive(watchFired(4, SUCCESSOR))), Events{IdleEvent::Active});

    state.receive(ownerChanged(MUTTER_IDLE_NAME, SUCCESSOR, ""));
    EXPECT_EQ(events(state.receive(BusMessage::closed())), Events{IdleEvent::Gone});
}

TEST_F(MutterIdleStateTest, ClosingRemovesTheIdleAndTheArmedActiveWatch) {
    idle();
    std::uint32_t watches[2];
    ASSERT_EQ(state.watchesToRemove(watches), 2);
    EXPECT_EQ(watches[0], IDLE_WATCH);
    EXPECT_EQ(watches[1], 9u);
}

}  // namespace
}  // namespace smokedrift::idle
