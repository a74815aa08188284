#include <gtest/gtest.h>

#include "app/feedback_cycle.h"
#include "app/scene.h"
#include "app/scene_options.h"
#include "app/scene_switches.h"
#include "scene_test.h"

using namespace smokedrift;

namespace {

struct Read {
    std::vector<std::string> words;
    bool accepted;
};

SceneOptions readAll(const std::vector<std::string>& words, bool& ok, std::string& error) {
    SceneOptions o;
    ok = true;
    for (std::size_t i = 0; i < words.size() && ok; ++i) {
        const int taken = takeSceneOption(words, i, o, error);
        ok = taken > 0;
        if (ok) i += static_cast<std::size_t>(taken) - 1;
    }
    return o;
}

}  // namespace

TEST(SceneOptions, ValuesInsideTheirRangesAreTakenAndTheRestRefused) {
    const Read cases[] = {
        {{"--sprites", "1"}, true},
        {{"--sprites", "30"}, true},
        {{"--sprites", "0"}, false},
        {{"--sprites", "31"}, false},
        {{"--sprites", "2.5"}, false},
        {{"--speed", "0.1"}, true},
        {{"--speed", "10"}, true},
        {{"--speed", "0.09"}, false},
        {{"--speed", "nan"}, false},
        {{"--speed", "inf"}, false},
        {{"--speed", "-1"}, false},
        {{"--feedback", "slide"}, true},
        {{"--feedback", "bogus"}, false},
        {{"--sprites"}, false},
        {{"--enable", "3d,fog"}, true},
        {{"--sprites", "5", "--sprites", "5"}, true},
        {{"--speed", "2", "--speed", "3"}, false},
        {{"--feedback", "tiles", "--feedback", "slide"}, false},
        {{"--render-scale", "auto"}, true},
        {{"--render-scale", "1"}, true},
        {{"--render-scale", "4"}, true},
        {{"--render-scale", "0"}, false},
        {{"--render-scale", "5"}, false},
        {{"--render-scale", "2.0"}, false},
        {{"--render-scale", "2", "--render-scale", "auto"}, false},
    };
    for (const Read& c : cases) {
        bool ok = false;
        std::string error;
        readAll(c.words, ok, error);
        EXPECT_EQ(ok, c.accepted) << c.words[0] << " " << (c.words.size() > 1 ? c.words[1] : "") << ": " << error;
        if (!c.accepted) {
            EXPECT_NE(error.find(c.words[0]), std::string::npos) << "the reason names the option";
        }
    }
}

// --help and the manual page describe a number's range as the reader takes it.
TEST(SceneOptions, TheDescribedRangeIsTheReadersOwn) {
    int numbers = 0;
    for (const SceneValueOption& o : sceneValueOptions) {
        if (o.low == o.high) continue;
        ++numbers;
        const std::string range = formatNumber(o.low) + " to " + formatNumber(o.high);
        EXPECT_NE(describeSceneValueOption(o).find(", " + range + " (default " + formatNumber(o.fallback) + ")"),
                  std::string::npos)
            << describeSceneValueOption(o);
        bool ok = false;
        std::string error;
        for (const double v : {o.low, o.high, o.fallback}) {
            readAll({o.name, formatNumber(v)}, ok, error);
            EXPECT_TRUE(ok) << o.name << " " << formatNumber(v) << ": " << error;
        }
        readAll({o.name, "x"}, ok, error);
        EXPECT_NE(error.find(" from " + range), std::string::npos) << error;
    }
    EXPECT_EQ(numbers, 2);
}

TEST(SceneOptions, EverySwitchWithASettingHasAFlag) {
    for (const SceneSwitch& s : sceneSwitches) {
        bool ok = false;
        std::string error;
        const SceneOptions o = readAll({std::string("--") + s.name}, ok, error);
        EXPECT_EQ(ok, s.flag != nullptr) << s.name;
        if (ok) {
            EXPECT_EQ(o.switches, switchBit(static_cast<SceneSwitchIndex>(findSceneSwitch(s.name))));
        }
    }
}

struct SceneOptionsScene : SceneTest {};

TEST_F(SceneOptionsScene, SpritesAndSpeedReachTheFrame) {
    scene.options.sprites = 3;
    scene.options.speed = 2;
    scene.initScene(320, 240);
    scene.frameCounter = CLEARING_FRAMES;
    now += 16;
    recgl::reset();
    scene.renderFrame();
    EXPECT_DOUBLE_EQ(scene.frameClock.timeStep, 2 * 0.016);
    // The fade draws two quads of its own; each sprite one more.
    EXPECT_EQ(recgl::count("glBegin"), 2u + 3u);
}

TEST_F(SceneOptionsScene, TheSaversFeedbackCapturesThenShowsThenStops) {
    scene.options.switches = switchBit(SWITCH_FEEDBACK);
    scene.options.feedback = FeedbackStyle::Slide;
    scene.initScene(320, 240);
    scene.frameCounter = FIRST_DRAWN_FRAME;
    auto at = [&](double seconds) {
        scene.frameClock.currentTime = 1.0 + seconds;
        cycleFeedback(scene);
        return scene.screenLayout.effectMode;
    };
    EXPECT_EQ(at(0), 0);
    EXPECT_EQ(at(FEEDBACK_FIRST - 0.1), 0);
    EXPECT_EQ(at(FEEDBACK_FIRST), 1) << "captures";
    EXPECT_NE(scene.feedbackEffect.slide, 0.0f) << "as a scroll";
    EXPECT_EQ(at(FEEDBACK_FIRST + 0.02), 2) << "then shows";
    EXPECT_FLOAT_EQ(scene.screenLayout.width, 320) << "the scene goes on at full size behind it";
    EXPECT_EQ(at(FEEDBACK_FIRST + FEEDBACK_SHOW - 0.1), 2);
    EXPECT_EQ(at(FEEDBACK_FIRST + FEEDBACK_SHOW), 0) << "and stops";
    EXPECT_EQ(at(FEEDBACK_FIRST + FEEDBACK_PERIOD), 1) << "until the next capture";
}
