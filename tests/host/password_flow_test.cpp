// The Windows 95 family leaves the password check on close to the saver.
#include "host_fixture.h"

namespace hosttest {
namespace {

namespace fake = smokedrift::fake;
using smokedrift::hostState;

class PasswordFlow : public HostTest {};

TEST_F(PasswordFlow, RefusedPasswordKeepsRunningAndHidesTheCursorAgain) {
    usePassword(FALSE);
    fake::setPasswordVerifier([](HWND) {
        // The dialog shows the cursor and the user moves it while typing.
        SetCursor(reinterpret_cast<HCURSOR>(0x99));
        fake::setCursorPos(200, 200);
        return FALSE;
    });
    fake::deliver(WM_KEYDOWN);
    fake::then([] {
        EXPECT_TRUE(fake::cursorHidden());
        // Past the close guard, so a close from this move would reach the verifier again.
        fake::advanceTicks(500);
        fake::setCursorPos(202, 201);  // small against the new reference
    });
    fake::deliver(WM_MOUSEMOVE);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_FALSE(closed());
    EXPECT_EQ(fake::count("VerifyScreenSavePwd"), 1u);
    EXPECT_EQ(fake::callsNamed("SystemParametersInfoA").at(0).b, 1u);
}

TEST_F(PasswordFlow, CloseWithinTheGuardIsSwallowedAndLaterAsksAgain) {
    usePassword(FALSE);
    fake::setTickCount(0xFFFFFFF0u);  // the guard must survive the tick wrap-around
    fake::deliver(WM_KEYDOWN);
    fake::then([] { fake::advanceTicks(199); });
    fake::deliver(WM_LBUTTONDOWN);
    fake::then([] {
        EXPECT_EQ(fake::count("VerifyScreenSavePwd"), 1u);
        fake::advanceTicks(1);
        fake::setPasswordVerifier([](HWND) { return TRUE; });
    });
    fake::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(fake::count("VerifyScreenSavePwd"), 2u);
    EXPECT_TRUE(closed());
    // Unloading the hook switches the screen-saver-running state off again.
    const auto spi = fake::callsNamed("SystemParametersInfoA");
    ASSERT_EQ(spi.size(), 2u);
    EXPECT_EQ(spi[0].a, 97u);
    EXPECT_EQ(spi[0].b, 1u);
    EXPECT_EQ(spi[1].b, 0u);
}

TEST_F(PasswordFlow, QueuedFramesAreDroppedBeforeTheDialog) {
    usePassword(FALSE);
    fake::then([] {
        const HWND w = fake::lastCreatedWindow();
        PostMessageA(w, WM_TIMER, 1, 0);
        PostMessageA(w, WM_TIMER, 1, 0);
    });
    fake::deliver(WM_CLOSE);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(fake::count("VerifyScreenSavePwd"), 1u);
    EXPECT_FALSE(closed());
    EXPECT_FALSE(received(WM_TIMER));
    EXPECT_EQ(fake::count("SwapBuffers"), 0u);
}

TEST_F(PasswordFlow, NoSecondDialogWhileOneIsOpen) {
    usePassword(FALSE);
    fake::setPasswordVerifier([](HWND w) {
        // A close request arriving from inside the dialog's own loop.
        SendMessageA(w, WM_CLOSE, 0, 0);
        SendMessageA(w, WM_KEYDOWN, 0, 0);
        return FALSE;
    });
    fake::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_FALSE(closed());
    EXPECT_EQ(fake::count("VerifyScreenSavePwd"), 1u);
}

TEST_F(PasswordFlow, OnlyTheCloseCheckRunsTheVerifier) {
    usePassword(TRUE);
    int depth = 0;
    int deepest = 0;
    fake::setPasswordVerifier([&](HWND w) {
        deepest = std::max(deepest, ++depth);
        // The private check message arriving again through the dialog's loop.
        const LRESULT nested = SendMessageA(w, WM_APP, 0, 0);
        EXPECT_EQ(nested, 0);
        --depth;
        return TRUE;
    });
    LRESULT outside = -1;
    // Sent by someone else while no check is pending: no dialog, no approval.
    fake::then([&] { outside = SendMessageA(fake::lastCreatedWindow(), WM_APP, 0, 0); });
    fake::deliver(WM_TIMER, 1);
    fake::then([&] { EXPECT_EQ(fake::count("VerifyScreenSavePwd"), 0u); });
    fake::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(fake::count("VerifyScreenSavePwd"), 1u);
    EXPECT_TRUE(closed());
}

TEST_F(PasswordFlow, ApprovedCloseStopsInputPaintAndTimersReachingTheApp) {
    usePassword(FALSE);
    std::size_t glCalls = 0;
    fake::then([&] {
        hostState.closeApproved = true;
        glCalls = recgl::calls().size();
    });
    fake::deliver(WM_TIMER, 1);
    fake::deliver(WM_KEYDOWN);
    fake::deliver(WM_PAINT);
    fake::then([] { fake::setCursorPos(400, 400); });
    fake::deliver(WM_MOUSEMOVE);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(recgl::calls().size(), glCalls);
    EXPECT_EQ(fake::count("SwapBuffers"), 0u);
    EXPECT_FALSE(closed());
    EXPECT_TRUE(fake::postedTo(fake::lastCreatedWindow()).empty());
}

TEST_F(PasswordFlow, WithoutAPasswordTheCloseIsImmediate) {
    struct Setup {
        bool keyExists, queryOk;
        DWORD value;
        bool library, hasExport;
    };
    for (const Setup& s : {Setup{false, false, 1, true, true}, Setup{true, false, 1, true, true},
                           Setup{true, true, 0, true, true}, Setup{true, true, 1, false, false},
                           Setup{true, true, 1, true, false}}) {
        SetUp();
        useWin9x();
        fake::setRegistryValue(s.keyExists, s.queryOk, s.value);
        fake::setLibrary("PASSWORD.CPL", s.library, s.hasExport);
        fake::deliver(WM_KEYDOWN);
        EXPECT_EQ(run("/s"), 0);
        EXPECT_TRUE(closed());
        EXPECT_EQ(fake::count("VerifyScreenSavePwd"), 0u);
        EXPECT_EQ(fake::count("SystemParametersInfoA"), 0u);
        // A library without the export is given back at once.
        EXPECT_EQ(fake::count("FreeLibrary"), fake::count("LoadLibraryA") > 0 && s.library ? 1u : 0u);
    }
}

TEST_F(PasswordFlow, AutoPlayIsCancelledOnlyOnTheWindows95Family) {
    usePassword(TRUE);
    LRESULT answer = 0;
    fake::then([&] { answer = SendMessageA(fake::lastCreatedWindow(), 0xC123, 0, 0); });
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(fake::callsNamed("RegisterWindowMessageA").at(0).a, 1u);
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(closed());

    SetUp();
    fake::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(fake::count("RegisterWindowMessageA"), 0u);
    EXPECT_EQ(fake::count("RegOpenKeyA"), 0u);
}

TEST_F(PasswordFlow, OtherPlatformsCloseAtOnceEvenWithAPasswordSet) {
    usePassword(FALSE);
    fake::setPlatformId(VER_PLATFORM_WIN32_NT);
    fake::deliver(WM_CLOSE);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_TRUE(closed());
    EXPECT_EQ(fake::count("LoadLibraryA"), 0u);
}

}  // namespace
}  // namespace hosttest
