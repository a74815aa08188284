// xscreensaver's window arguments as the preview tail the host reads.
#include <gtest/gtest.h>

#include "main/xscreensaver_args.h"

using smokedrift::hostCommandLine;
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

TEST(HostCommandLine, XscreensaverFormsBecomeAPreviewTail) {
    EXPECT_EQ(hostCommandLine({"-root"}, "0x2a", 7), "smokedrift /p 42");
    EXPECT_EQ(hostCommandLine({"--root"}, nullptr, 7), "smokedrift /p 7");
    EXPECT_EQ(hostCommandLine({"--root"}, "0x0x2a", 7), "smokedrift /p 7");  // unreadable: the root
    EXPECT_EQ(hostCommandLine({"--fps", "-window-id", "0x10"}, nullptr, 7), "smokedrift /p 16");
    EXPECT_EQ(hostCommandLine({"-window-id"}, nullptr, 7), "smokedrift /p 0");
    EXPECT_EQ(hostCommandLine({"--window-id", "junk"}, nullptr, 7), "smokedrift /p 0");
    // The environment alone names the window, whatever flags every hack gets come with it.
    EXPECT_EQ(hostCommandLine({}, "0x2a", 7), "smokedrift /p 42");
    EXPECT_EQ(hostCommandLine({"--fps", "-delay", "20000", "--window"}, "42", 7), "smokedrift /p 42");
    EXPECT_EQ(hostCommandLine({"--delay"}, "42", 7), "smokedrift /p 42");
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
    std::string tail;
    EXPECT_FALSE(smokedrift::xscreensaverTail({"--delay", "--root", "--delay", ""}, nullptr, 7, tail));
    EXPECT_TRUE(wantsOwnWindow({"--delay", "--root", "--delay", ""}, nullptr));
}

TEST(HostCommandLine, OtherArgumentsPassThrough) {
    EXPECT_EQ(hostCommandLine({}, nullptr, 7), "smokedrift");
    EXPECT_EQ(hostCommandLine({"/p", "12"}, nullptr, 7), "smokedrift /p 12");
    EXPECT_EQ(hostCommandLine({"/s"}, "0x2a", 7), "smokedrift /s");
    EXPECT_EQ(hostCommandLine({"/s", "--fps"}, "0x2a", 7), "smokedrift /s --fps");
}
