// xscreensaver's window arguments as the preview the host runs.
#include <gtest/gtest.h>

#include "main/command_line.h"
#include "main/xscreensaver_args.h"

using smokedrift::HostMode;
using smokedrift::NamedWindow;
using smokedrift::namedWindow;
using smokedrift::parseWindowId;
using smokedrift::wantsOwnWindow;

TEST(WindowId, DecimalAndHexWithinThirtyTwoBits) {
    EXPECT_EQ(parseWindowId("1234"), 1234ul);
    EXPECT_EQ(parseWindowId("0x1f"), 0x1ful);
    EXPECT_EQ(parseWindowId("0XAbC"), 0xabcul);
    EXPECT_EQ(parseWindowId("4294967295"), 4294967295ul);
    EXPECT_EQ(parseWindowId("0xFFFFFFFF"), 0xFFFFFFFFul);
    EXPECT_EQ(parseWindowId("007"), 7ul);
}

TEST(WindowId, AnythingElseIsNoWindow) {
    for (const char* bad : {"", "0x", "4294967296", "0x100000000", "99999999999999999999999", " 12", "+12", "-12",
                            "12 ", "1f", "0x1g", "0x 1", "0x+1", "0x-1", "0x0x12", "0X0x12", "1e3"}) {
        EXPECT_EQ(parseWindowId(bad), 0ul) << '"' << bad << '"';
    }
    EXPECT_EQ(parseWindowId(nullptr), 0ul);
}

namespace {

// What the arguments name, as "id N", "desktop" or "none".
std::string named(const std::vector<std::string>& args, const char* xscreensaverWindow) {
    const NamedWindow w = namedWindow(args, xscreensaverWindow);
    if (!w.named) return w.id == 0 ? "none" : "unnamed but an id";
    return w.desktop ? (w.id == 0 ? "desktop" : "desktop with an id") : "id " + std::to_string(w.id);
}

}  // namespace

TEST(HostCommandLine, XscreensaverFormsBecomeAPreviewTail) {
    EXPECT_EQ(named({"-root"}, "0x2a"), "id 42");
    EXPECT_EQ(named({"--root"}, nullptr), "desktop");
    EXPECT_EQ(named({"--root"}, "0x0x2a"), "desktop");  // unreadable: the root
    EXPECT_EQ(named({"--fps", "-window-id", "0x10"}, nullptr), "id 16");
    EXPECT_EQ(named({"-window-id"}, nullptr), "id 0");
    EXPECT_EQ(named({"--window-id", "junk"}, nullptr), "id 0");
    // The environment alone names the window, whatever flags every hack gets come with it.
    EXPECT_EQ(named({}, "0x2a"), "id 42");
    EXPECT_EQ(named({"--fps", "-delay", "20000", "--window"}, "42"), "id 42");
    EXPECT_EQ(named({"--delay"}, "42"), "id 42");
}

TEST(HostCommandLine, HackFlagsWithoutAWindowAskForOneOfTheirOwn) {
    EXPECT_TRUE(wantsOwnWindow({"--window"}, nullptr));
    EXPECT_TRUE(wantsOwnWindow({"-fps"}, "junk"));
    EXPECT_TRUE(wantsOwnWindow({"--delay", "10000", "-window"}, nullptr));
    EXPECT_FALSE(wantsOwnWindow({}, nullptr));                  // the settings dialog, as on Windows
    EXPECT_FALSE(wantsOwnWindow({"--window"}, "0x2a"));         // xscreensaver named one
    EXPECT_FALSE(wantsOwnWindow({"--window", "/s"}, nullptr));  // a host switch decides
    EXPECT_FALSE(wantsOwnWindow({"--root", "--window"}, nullptr));
    EXPECT_FALSE(wantsOwnWindow({"--delay", "/s", "/s"}, nullptr));
    // A value is a value: "--root" after --delay names no window.
    EXPECT_EQ(named({"--delay", "--root", "--delay", ""}, nullptr), "none");
    EXPECT_TRUE(wantsOwnWindow({"--delay", "--root", "--delay", ""}, nullptr));
}

// Any other words are the host's switch, read with its grammar as Windows would hand them over.
TEST(HostCommandLine, OtherArgumentsPassThrough) {
    const char* const none[] = {"--x11"};
    const auto host = [&](const std::vector<std::string>& args, const char* xscreensaverWindow) {
        return smokedrift::readCommandLine(args, xscreensaverWindow, none).request.host;
    };
    EXPECT_EQ(host({}, nullptr).mode, HostMode::Dialog);
    EXPECT_EQ(host({"/p", "12"}, nullptr).mode, HostMode::Preview);
    EXPECT_EQ(host({"/p", "12"}, nullptr).window, 12u);
    EXPECT_EQ(host({"/s"}, "0x2a").mode, HostMode::Saver);
    EXPECT_EQ(host({"/s", "--fps"}, "0x2a").mode, HostMode::Saver);
    // Blanks before the first word go, as from a command line; the word is quoted as written.
    EXPECT_EQ(host({"", "\ts"}, nullptr).mode, HostMode::Saver);
    EXPECT_STREQ(host({"--fps", "/s"}, nullptr).word, "--fps");
}
