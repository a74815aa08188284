#include <gtest/gtest.h>

#include "app/scene_switches.h"
#include "offscreen/render_options.h"

using namespace smokedrift;

namespace {

bool parse(std::vector<std::string> args, RenderOptions& o, std::string& error) {
    args.insert(args.begin(), "--render");
    return parseRenderOptions(args, o, error);
}

}  // namespace

TEST(RenderOptions, DefaultsAndEveryOption) {
    RenderOptions o;
    std::string error;
    ASSERT_TRUE(parse({"out.png"}, o, error)) << error;
    EXPECT_EQ(o.width, 1280);
    EXPECT_EQ(o.height, 720);
    EXPECT_EQ(o.frames, 300);
    EXPECT_EQ(o.seed, 1u);
    ASSERT_TRUE(parse({"a.png", "--size", "640x480", "--frames", "7", "--seed", "4294967295", "--enable", "background"},
                      o, error))
        << error;
    EXPECT_EQ(o.output, "a.png");
    EXPECT_EQ(o.width, 640);
    EXPECT_EQ(o.height, 480);
    EXPECT_EQ(o.frames, 7);
    EXPECT_EQ(o.seed, 4294967295u);
    EXPECT_EQ(o.scene.switches, switchBit(SWITCH_BACKGROUND));
}

TEST(RenderOptions, RefusalsSayWhyInOneLine) {
    const std::vector<std::vector<std::string>> bad = {
        {"a.png", "--size", "16385x2"},    {"a.png", "--size", "2x0"},
        {"a.png", "--size", "+2x2"},       {"a.png", "--size", "2x2 "},
        {"a.png", "--frames", "-1"},       {"a.png", "--frames", "99999999999"},
        {"a.png", "--seed", "4294967296"}, {"a.png", "--enable", "background,"},
        {"a.png", "--bogus", "1"},         {""},
    };
    for (const auto& args : bad) {
        RenderOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
}

TEST(RenderOptions, ControlCharactersInArgumentsAreEscapedInMessages) {
    // Found by fuzzing: an unknown option holding a newline split the message in two.
    RenderOptions o;
    std::string error;
    ASSERT_FALSE(parse({"\x04", "]\n"}, o, error));
    EXPECT_EQ(error.find('\n'), std::string::npos);
    EXPECT_NE(error.find("]\\x0a"), std::string::npos) << error;
    EXPECT_EQ(printable("a\x1b[2Jb\x7f"), "a\\x1b[2Jb\\x7f");
}
