// What ends a full-screen saver, and that none of it ends a preview.
#include "host_fixture.h"

namespace hosttest {
namespace {

namespace scripted = smokedrift::scripted;

struct Event {
    UINT message;
    WPARAM wParam;
};

const Event CLOSING_EVENTS[] = {
    {WM_KEYDOWN, 'Q'},
    {WM_SYSKEYDOWN, 0x12},
    {WM_LBUTTONDOWN, 1},
    {WM_RBUTTONDOWN, 2},
    {WM_MBUTTONDOWN, 0x10},
    {WM_ACTIVATEAPP, 0},
    {WM_POWER, 3},
    {WM_POWERBROADCAST, 0},
    {WM_POWERBROADCAST, 7},
    // The wheel (a click back, one to the right) and a side button: distance or button number high.
    {WM_MOUSEWHEEL, 0xFF880000u},
    {WM_MOUSEHWHEEL, 0x00780000u},
    {WM_XBUTTONDOWN, 0x00010020u},
};

const Event HARMLESS_EVENTS[] = {
    {WM_ACTIVATEAPP, 1}, {WM_POWER, 0}, {WM_POWER, 1}, {WM_POWER, 2}, {WM_POWER, 4}, {WM_KEYUP, 'Q'}, {WM_PAINT, 0},
};

class CloseRules : public HostTest {};

TEST_F(CloseRules, EachInputOrSystemEventClosesTheFullScreenSaver) {
    for (const Event& e : CLOSING_EVENTS) {
        SetUp();
        scripted::deliver(e.message, e.wParam);
        scripted::deliver(WM_TIMER, 1);  // would show that the saver ran on
        EXPECT_EQ(run("/s"), 0);
        EXPECT_TRUE(closed()) << std::hex << e.message << " " << e.wParam;
        EXPECT_FALSE(scripted::scriptRanOut());
    }
}

TEST_F(CloseRules, OtherEventsLeaveTheFullScreenSaverRunning) {
    for (const Event& e : HARMLESS_EVENTS) {
        SetUp();
        scripted::deliver(e.message, e.wParam);
        EXPECT_EQ(run("/s"), 0);
        EXPECT_FALSE(closed()) << std::hex << e.message << " " << e.wParam;
        EXPECT_TRUE(scripted::scriptRanOut());
    }
}

TEST_F(CloseRules, NothingClosesAPreviewButItsParent) {
    usePreviewParent();
    for (const Event& e : CLOSING_EVENTS) scripted::deliver(e.message, e.wParam);
    scripted::then([] { scripted::setCursorPos(500, 500); });
    scripted::deliver(WM_MOUSEMOVE);
    EXPECT_EQ(run("/p 1234"), 0);
    EXPECT_FALSE(closed());
    EXPECT_TRUE(scripted::scriptRanOut());
    EXPECT_FALSE(closeQueued());
    EXPECT_EQ(scripted::count("hideCursor"), 0u);
}

TEST_F(CloseRules, SmallMovesAddUpAgainstTheSameReference) {
    scripted::setCursorPos(100, 100);
    scripted::then([] { scripted::setCursorPos(103, 101); });  // travel 4
    scripted::deliver(WM_MOUSEMOVE);
    scripted::then([&] {
        EXPECT_FALSE(closeQueued());
        scripted::setCursorPos(102, 102);  // still 4 from the reference
    });
    scripted::deliver(WM_MOUSEMOVE);
    scripted::then([&] {
        EXPECT_FALSE(closeQueued());
        scripted::setCursorPos(104, 101);  // 5 from (100, 100)
    });
    scripted::deliver(WM_MOUSEMOVE);
    scripted::deliver(WM_TIMER, 1);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_TRUE(closed());
    // Closed by the third move: all three arrived, the timer after them did not.
    const auto delivered = scripted::callsNamed("delivered");
    ASSERT_EQ(delivered.size(), 3u);
    EXPECT_EQ(delivered.back().a, static_cast<std::uintptr_t>(WM_MOUSEMOVE));
}

TEST_F(CloseRules, HelpAndContextMenuOfAPreviewGoToTheParent) {
    usePreviewParent();
    LRESULT help = 0;
    LRESULT menu = 0;
    scripted::then([&] {
        const HWND w = scripted::lastCreatedWindow();
        help = SendMessageA(w, WM_HELP, 0, 0x1234);
        menu = SendMessageA(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w), 0x00500060);
    });
    EXPECT_EQ(run("/p 1234"), 0);
    EXPECT_EQ(help, 1);
    EXPECT_EQ(menu, 1);
    const auto posted = scripted::postedTo(PREVIEW_PARENT);
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_HELP));
    EXPECT_EQ(posted[0].wParam, value(PREVIEW_PARENT));
    EXPECT_EQ(posted[0].lParam, 0x1234);
    EXPECT_EQ(posted[1].message, static_cast<UINT>(WM_CONTEXTMENU));
    EXPECT_EQ(posted[1].wParam, value(PREVIEW_PARENT));
    EXPECT_EQ(posted[1].lParam, 0x00500060);
}

TEST_F(CloseRules, FullScreenSwallowsWindowSwitchingAndHidesTheCursor) {
    LRESULT setCursor = 0;
    scripted::then([&] {
        const HWND w = scripted::lastCreatedWindow();
        EXPECT_TRUE(scripted::cursorHidden());
        SetCursor(reinterpret_cast<HCURSOR>(0x99));
        setCursor = SendMessageA(w, WM_SETCURSOR, 0, 0);
        EXPECT_TRUE(scripted::cursorHidden());
        SetCursor(reinterpret_cast<HCURSOR>(0x99));
        SendMessageA(w, WM_PAINT, 0, 0);
        EXPECT_TRUE(scripted::cursorHidden());
        EXPECT_EQ(SendMessageA(w, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
        EXPECT_EQ(SendMessageA(w, WM_SYSCOMMAND, SC_NEXTWINDOW, 0), 0);
        EXPECT_EQ(SendMessageA(w, WM_SETTEXT, 0, 0), 0);
    });
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(setCursor, 1);
}

TEST_F(CloseRules, TimerTicksYieldAndDraw) {
    usePreviewParent();
    scripted::deliver(WM_TIMER, 1);
    EXPECT_EQ(run("/p 1234"), 0);
    EXPECT_EQ(scripted::count("Sleep"), 1u);
    EXPECT_EQ(scripted::count("swapBuffers"), 1u);
}

TEST_F(CloseRules, InputContextIsDetachedAndGivenBack) {
    const HIMC context = reinterpret_cast<HIMC>(0x1C);
    scripted::setLibrary("IMM32.DLL", true, true);
    scripted::setImeContext(context);
    scripted::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    const auto calls = scripted::callsNamed("ImmAssociateContext");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].b, 0u);
    EXPECT_EQ(calls[1].b, value(reinterpret_cast<HWND>(context)));

    SetUp();
    scripted::setLibrary("IMM32.DLL", true, false);
    scripted::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(scripted::count("ImmAssociateContext"), 0u);
}

}  // namespace
}  // namespace hosttest
