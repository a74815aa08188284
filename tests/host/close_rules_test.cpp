// What ends a full-screen saver, and that none of it ends a preview.
#include "host_fixture.h"

namespace hosttest {
namespace {

namespace fake = smokedrift::fake;

struct Event {
    UINT message;
    WPARAM wParam;
};

const Event CLOSING_EVENTS[] = {
    {WM_KEYDOWN, 'Q'},       {WM_SYSKEYDOWN, 0x12}, {WM_LBUTTONDOWN, 1},    {WM_RBUTTONDOWN, 2},
    {WM_MBUTTONDOWN, 0x10},  {WM_ACTIVATEAPP, 0},   {WM_POWER, 3},          {WM_POWERBROADCAST, 0},
    {WM_POWERBROADCAST, 7},
    // The wheel (a click back, one to the right) and a side button: distance or button number high.
    {WM_MOUSEWHEEL, 0xFF880000u}, {WM_MOUSEHWHEEL, 0x00780000u}, {WM_XBUTTONDOWN, 0x00010020u},
};

const Event HARMLESS_EVENTS[] = {
    {WM_ACTIVATEAPP, 1}, {WM_POWER, 0}, {WM_POWER, 1}, {WM_POWER, 2}, {WM_POWER, 4}, {WM_KEYUP, 'Q'}, {WM_PAINT, 0},
};

class CloseRules : public HostTest {};

TEST_F(CloseRules, EachInputOrSystemEventClosesTheFullScreenSaver) {
    for (const Event& e : CLOSING_EVENTS) {
        SetUp();
        fake::deliver(e.message, e.wParam);
        fake::deliver(WM_TIMER, 1);  // would show that the saver ran on
        EXPECT_EQ(run("/s"), 0);
        EXPECT_TRUE(closed()) << std::hex << e.message << " " << e.wParam;
        EXPECT_FALSE(fake::scriptRanOut());
        EXPECT_EQ(fake::count("PostQuitMessage"), 1u);
    }
}

TEST_F(CloseRules, OtherEventsLeaveTheFullScreenSaverRunning) {
    for (const Event& e : HARMLESS_EVENTS) {
        SetUp();
        fake::deliver(e.message, e.wParam);
        EXPECT_EQ(run("/s"), 0);
        EXPECT_FALSE(closed()) << std::hex << e.message << " " << e.wParam;
        EXPECT_TRUE(fake::scriptRanOut());
    }
}

TEST_F(CloseRules, NothingClosesAPreviewButItsParent) {
    usePreviewParent();
    for (const Event& e : CLOSING_EVENTS) fake::deliver(e.message, e.wParam);
    fake::then([] { fake::setCursorPos(500, 500); });
    fake::deliver(WM_MOUSEMOVE);
    EXPECT_EQ(run("/p 1234"), 0);
    EXPECT_FALSE(closed());
    EXPECT_TRUE(fake::scriptRanOut());
    EXPECT_TRUE(fake::postedTo(fake::lastCreatedWindow()).empty());
    EXPECT_EQ(fake::count("SetCursor"), 0u);
}

TEST_F(CloseRules, SmallMovesAddUpAgainstTheSameReference) {
    const auto closeRequested = [] { return !fake::postedTo(fake::lastCreatedWindow()).empty(); };
    fake::setCursorPos(100, 100);
    fake::then([] { fake::setCursorPos(103, 101); });  // travel 4
    fake::deliver(WM_MOUSEMOVE);
    fake::then([&] {
        EXPECT_FALSE(closeRequested());
        fake::setCursorPos(102, 102);  // still 4 from the reference
    });
    fake::deliver(WM_MOUSEMOVE);
    fake::then([&] {
        EXPECT_FALSE(closeRequested());
        fake::setCursorPos(104, 101);  // 5 from (100, 100)
    });
    fake::deliver(WM_MOUSEMOVE);
    fake::deliver(WM_TIMER, 1);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_TRUE(closed());
    // Closed by the third move: all three arrived, the timer after them did not.
    const auto received = fake::receivedBySaver();
    EXPECT_EQ(std::count(received.begin(), received.end(), static_cast<UINT>(WM_MOUSEMOVE)), 3);
    EXPECT_EQ(std::count(received.begin(), received.end(), static_cast<UINT>(WM_TIMER)), 0);
}

TEST_F(CloseRules, HelpAndContextMenuOfAPreviewGoToTheParent) {
    usePreviewParent();
    LRESULT help = 0;
    LRESULT menu = 0;
    fake::then([&] {
        const HWND w = fake::lastCreatedWindow();
        help = SendMessageA(w, WM_HELP, 0, 0x1234);
        menu = SendMessageA(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w), 0x00500060);
    });
    EXPECT_EQ(run("/p 1234"), 0);
    EXPECT_EQ(help, 1);
    EXPECT_EQ(menu, 1);
    const auto posted = fake::postedTo(PREVIEW_PARENT);
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
    fake::then([&] {
        const HWND w = fake::lastCreatedWindow();
        EXPECT_TRUE(fake::cursorHidden());
        SetCursor(reinterpret_cast<HCURSOR>(0x99));
        setCursor = SendMessageA(w, WM_SETCURSOR, 0, 0);
        EXPECT_TRUE(fake::cursorHidden());
        SetCursor(reinterpret_cast<HCURSOR>(0x99));
        SendMessageA(w, WM_PAINT, 0, 0);
        EXPECT_TRUE(fake::cursorHidden());
        EXPECT_EQ(SendMessageA(w, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
        EXPECT_EQ(SendMessageA(w, WM_SYSCOMMAND, SC_NEXTWINDOW, 0), 0);
        EXPECT_EQ(SendMessageA(w, WM_SETTEXT, 0, 0), 0);
    });
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(setCursor, 1);
    for (const auto& c : fake::callsNamed("DefWindowProcA")) {
        EXPECT_NE(c.b, static_cast<std::uintptr_t>(WM_SYSCOMMAND));
        EXPECT_NE(c.b, static_cast<std::uintptr_t>(WM_SETTEXT));
    }
}

TEST_F(CloseRules, TimerTicksYieldAndDraw) {
    usePreviewParent();
    fake::deliver(WM_TIMER, 1);
    EXPECT_EQ(run("/p 1234"), 0);
    EXPECT_EQ(fake::count("Sleep"), 1u);
    EXPECT_EQ(fake::count("SwapBuffers"), 1u);
}

TEST_F(CloseRules, InputContextIsDetachedAndGivenBack) {
    const HIMC context = reinterpret_cast<HIMC>(0x1C);
    fake::setLibrary("IMM32.DLL", true, true);
    fake::setImeContext(context);
    fake::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    const auto calls = fake::callsNamed("ImmAssociateContext");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].b, 0u);
    EXPECT_EQ(calls[1].b, value(reinterpret_cast<HWND>(context)));

    SetUp();
    fake::setLibrary("IMM32.DLL", true, false);
    fake::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(fake::count("ImmAssociateContext"), 0u);
}

}  // namespace
}  // namespace hosttest
