#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "idle/watcher_status.h"

using namespace smokedrift::idle;

TEST(WatcherStatus, PauseDurationsTakeHoursMinutesSecondsAndRefuseTheRest) {
    const struct {
        const char* text;
        std::optional<long> seconds;
    } cases[] = {
        {"1h", 3600},
        {"30m", 1800},
        {"90s", 90},
        {"600", 600},
        {"1", 1},
        {"168h", MAX_PAUSE_SECONDS},
        {"0", std::nullopt},
        {"0m", std::nullopt},
        {"-1", std::nullopt},
        {"+5", std::nullopt},
        {"1x", std::nullopt},
        {"1hm", std::nullopt},
        {"h", std::nullopt},
        {"", std::nullopt},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"169h", std::nullopt},
        {"604801", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"9223372036854775807h", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseDuration(c.text), c.seconds) << "'" << c.text << "'";
}

TEST(WatcherStatus, EachStateHasItsWordItsLineAndItsJson) {
    const struct {
        ControlState state;
        const char* word;
        const char* firstLine;  // of --status
        const char* last;       // its last line: when the saver starts
    } cases[] = {
        {ControlState::Waiting, "waiting", "waiting for the session to be idle", "starts after 5 min without input"},
        {ControlState::Idle, "idle", "idle; the saver ran", "after the user comes back and leaves for 5 min"},
        {ControlState::HeldOff, "held-off", "idle, but held off", "when the last of these lets go"},
        {ControlState::SaverRunning, "saver-running", "the saver runs", "input ends it"},
        {ControlState::Paused, "paused", "paused", "smokedrift --resume ends the pause"},
    };
    for (const auto& c : cases) {
        WatcherStatus s;
        s.state = c.state;
        s.source = "Wayland ext-idle-notify";
        s.idleTime = 300;
        s.pausedUntil = c.state == ControlState::Paused ? 1000 + 3600 : 0;
        EXPECT_STREQ(stateWord(c.state), c.word);
        EXPECT_EQ(stateFromWord(c.word), c.state);
        const std::string text = statusText(s, 1000);
        EXPECT_EQ(text.rfind(std::string("smokedrift watcher: ") + c.firstLine, 0), 0u) << text;
        EXPECT_NE(text.find(c.last), std::string::npos) << text;
        EXPECT_NE(statusJson(s, 1000).find(std::string("\"state\":\"") + c.word + "\""), std::string::npos);
    }
    EXPECT_EQ(stateFromWord("held off"), std::nullopt);
}

TEST(WatcherStatus, NamesEachHolderAndKeepsHostileTextInsideItsJsonString) {
    WatcherStatus s;
    s.state = ControlState::HeldOff;
    s.inhibitions = {{"org.freedesktop.ScreenSaver", "firefox", "video-playing", 0},
                     {"", "a \"quoted\"\\ name\x01", "", 0}};
    const std::string text = statusText(s, 0);
    EXPECT_NE(text.find("  held off by firefox (org.freedesktop.ScreenSaver): video-playing\n"), std::string::npos);
    s.state = ControlState::Waiting;
    EXPECT_NE(statusText(s, 0).find("without input, once these let go"), std::string::npos);
    const std::string json = statusJson(s, 0);
    EXPECT_NE(json.find(R"("holder":"a \"quoted\"\\ name\u0001")"), std::string::npos) << json;
    EXPECT_EQ(json.find('\n'), std::string::npos);
}
