// The ScreenSaver service's inhibitions, driven by scripted bus events: callers taking and
// releasing cookies, leaving the bus, the name lost, and callers asking for more than their share.
#include <gtest/gtest.h>

#include <string>

#include "idle/inhibition.h"
#include "idle/inhibition_table.h"

using namespace smokedrift::idle;

TEST(InhibitionTable, CookiesAreTheCallersOwnAndEndWithThemOrTheName) {
    InhibitionTable t;
    const std::uint32_t a = t.inhibit(":1.5", "firefox", "video");
    const std::uint32_t b = t.inhibit(":1.5", "firefox", "audio");
    const std::uint32_t c = t.inhibit(":1.7", "mpv", "film");
    EXPECT_NE(a, 0u);
    EXPECT_NE(a, b);
    EXPECT_NE(b, c);
    EXPECT_FALSE(t.uninhibit(":1.7", a));  // not its own
    EXPECT_FALSE(t.uninhibit(":1.5", 999));
    EXPECT_TRUE(t.uninhibit(":1.5", a));
    EXPECT_FALSE(t.uninhibit(":1.5", a));  // once
    EXPECT_EQ(t.describe(), "'firefox' (:1.5): audio; 'mpv' (:1.7): film");
    t.peerLeft(":1.5");
    EXPECT_EQ(t.describe(), "'mpv' (:1.7): film");
    t.clear();  // the name lost
    EXPECT_TRUE(t.empty());
    EXPECT_NE(t.inhibit(":1.7", "mpv", "film"), c);  // a released cookie is not handed out again at once
}

TEST(InhibitionTable, BoundsWhatCallersMayHoldAndKeepsTextPrintable) {
    InhibitionTable t;
    for (int i = 0; i < InhibitionTable::MAX_PER_PEER; ++i) ASSERT_NE(t.inhibit(":1.1", "a", "r"), 0u);
    EXPECT_EQ(t.inhibit(":1.1", "a", "r"), 0u);
    for (int peer = 2; t.heldBy(":1.1") + (peer - 2) < InhibitionTable::MAX_TOTAL; ++peer) {
        ASSERT_NE(t.inhibit(":1." + std::to_string(peer), "a", "r"), 0u);
    }
    EXPECT_EQ(t.inhibit(":2.1", "a", "r"), 0u);  // the table is full
    t.peerLeft(":1.1");
    EXPECT_NE(t.inhibit(":2.1", "a", "r"), 0u);

    InhibitionTable text;
    text.inhibit(":1.1", std::string(100, 'x') + "\x1b[2J",
                 "a\nb\xc2\x9b"
                 "c\xc3\xa9");
    EXPECT_EQ(text.describe(), "'" + std::string(InhibitionTable::MAX_TEXT, 'x') + "' (:1.1): a?b?c\xc3\xa9");
    EXPECT_EQ(printable("\xc3\xa9\xc3\xa9", 3), "\xc3\xa9");  // cut before a character, not inside it
}
