#include <gtest/gtest.h>

#include <string>

#include "base/session_lock.h"
#include "idle/idle_source_choice.h"

using namespace smokedrift::idle;

namespace {

class NamedSource final : public IdleSource {
public:
    explicit NamedSource(const char* name) : name_(name) {}
    const char* name() const override { return name_; }
    bool start(std::uint32_t) override { return true; }
    int fd() const override { return -1; }
    IdleEvent dispatch() override { return IdleEvent::None; }

private:
    const char* name_;
};

}  // namespace

TEST(IdleSourceChoice, TheFirstSourceTheSessionOffersIsTakenAndNoneAfterItIsTried) {
    const char* names[] = {"wayland", "mutter", "x11"};
    const struct {
        bool offers[3];
        const char* chosen;  // null: none
        const char* tried;
    } cases[] = {
        {{true, true, true}, "wayland", "wayland "},
        {{false, true, true}, "mutter", "wayland mutter "},  // GNOME on Wayland: no idle protocol
        {{false, false, true}, "x11", "wayland mutter x11 "},
        {{true, false, false}, "wayland", "wayland "},
        {{false, false, false}, nullptr, "wayland mutter x11 "},
    };
    for (const auto& c : cases) {
        std::string tried;
        std::vector<SourceCandidate> candidates;
        for (int i = 0; i < 3; ++i) {
            candidates.push_back({[&, i](std::string&) -> std::unique_ptr<IdleSource> {
                                      tried += names[i] + std::string(" ");
                                      if (!c.offers[i]) return nullptr;
                                      return std::make_unique<NamedSource>(names[i]);
                                  },
                                  std::string("no ") + names[i]});
        }
        std::string missing;
        const std::unique_ptr<IdleSource> got = chooseIdleSource(candidates, missing);
        EXPECT_EQ(tried, c.tried);
        if (c.chosen == nullptr) {
            EXPECT_EQ(got, nullptr);
            EXPECT_EQ(missing, "--idle: the session offers no idle source: no wayland; no mutter; no x11");
        } else {
            ASSERT_NE(got, nullptr) << c.chosen;
            EXPECT_STREQ(got->name(), c.chosen);
        }
    }
}

TEST(IdleSourceChoice, WaylandPrefersExtIdleNotifyToKdesIdle) {
    EXPECT_EQ(chooseWaylandIdleProtocol(true, true), WaylandIdleProtocol::ExtIdleNotify);
    EXPECT_EQ(chooseWaylandIdleProtocol(true, false), WaylandIdleProtocol::ExtIdleNotify);
    EXPECT_EQ(chooseWaylandIdleProtocol(false, true), WaylandIdleProtocol::KdeIdle);
    EXPECT_EQ(chooseWaylandIdleProtocol(false, false), WaylandIdleProtocol::None);
}

TEST(IdleSourceChoice, TheMissingLineNamesWhatTheSessionLacks) {
    std::string missing;
    const auto none = [](std::string&) { return std::unique_ptr<IdleSource>(); };
    smokedrift::SessionEnvironment session;
    session.waylandDisplay = "wayland-1";
    std::vector<SourceCandidate> candidates = sessionCandidates(session);
    for (SourceCandidate& c : candidates) c.open = none;
    chooseIdleSource(candidates, missing);
    EXPECT_NE(missing.find("(wayland-1) offers neither ext_idle_notifier_v1 nor org_kde_kwin_idle"), std::string::npos)
        << missing;
    EXPECT_NE(missing.find("no X11 display (DISPLAY)"), std::string::npos) << missing;
    session.waylandDisplay = "";
    session.x11Display = ":3";
    candidates = sessionCandidates(session);
    for (SourceCandidate& c : candidates) c.open = none;
    chooseIdleSource(candidates, missing);
    EXPECT_NE(missing.find("no Wayland display (WAYLAND_DISPLAY)"), std::string::npos) << missing;
    EXPECT_NE(missing.find("the X server (:3)"), std::string::npos) << missing;
}

TEST(SessionLock, OneKeyPerSessionWhateverItsSpelling) {
    const struct {
        const char *wayland, *runtime, *x11, *bus, *key;
    } cases[] = {
        {"wayland-1", "/run/user/5", ":0", "unix:path=/b", "/run/user/5/wayland-1"},
        {"/tmp/w/wayland-1", "/run/user/5", nullptr, nullptr, "/tmp/w/wayland-1"},
        {"", nullptr, ":1", "unix:path=/b", "x11::1"},
        {nullptr, nullptr, ":1.0", nullptr, "x11::1"},
        {nullptr, nullptr, "unix:1.1", nullptr, "x11::1"},
        {nullptr, nullptr, "localhost:10.0", nullptr, "x11:localhost:10"},
        {nullptr, nullptr, nullptr, "unix:path=/b", "bus:unix:path=/b"},
        {nullptr, nullptr, nullptr, nullptr, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(smokedrift::sessionKey(c.wayland, c.runtime, c.x11, c.bus), c.key);
}
