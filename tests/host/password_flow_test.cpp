// The Windows 95 family leaves the password check on close to the saver.
#include "host_fixture.h"

namespace hosttest {
namespace {

namespace scripted = smokedrift::scripted;
using smokedrift::hostState;

class PasswordFlow : public HostTest {};

TEST_F(PasswordFlow, RefusedPasswordKeepsRunningAndHidesTheCursorAgain) {
    usePassword(FALSE);
    scripted::setPasswordVerifier([](HWND) {
        // The dialog shows the cursor and the user moves it while typing.
        SetCursor(reinterpret_cast<HCURSOR>(0x99));
        scripted::setCursorPos(200, 200);
        return FALSE;
    });
    scripted::deliver(WM_KEYDOWN);
    scripted::then([] {
        EXPECT_TRUE(scripted::cursorHidden());
        // Past the close guard, so a close from this move would reach the verifier again.
        scripted::advanceTicks(500);
        scripted::setCursorPos(202, 201);  // small against the new reference
    });
    scripted::deliver(WM_MOUSEMOVE);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_FALSE(closed());
    EXPECT_EQ(scripted::count("VerifyScreenSavePwd"), 1u);
    EXPECT_EQ(scripted::callsNamed("SystemParametersInfoA").at(0).b, 1u);
}

TEST_F(PasswordFlow, CloseWithinTheGuardIsSwallowedAndLaterAsksAgain) {
    usePassword(FALSE);
    scripted::setTickCount(0xFFFFFFF0u);  // the guard must survive the tick wrap-around
    scripted::deliver(WM_KEYDOWN);
    scripted::then([] { scripted::advanceTicks(199); });
    scripted::deliver(WM_LBUTTONDOWN);
    scripted::then([] {
        EXPECT_EQ(scripted::count("VerifyScreenSavePwd"), 1u);
        scripted::advanceTicks(1);
        scripted::setPasswordVerifier([](HWND) { return TRUE; });
    });
    scripted::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(scripted::count("VerifyScreenSavePwd"), 2u);
    EXPECT_TRUE(closed());
    // Unloading the hook switches the screen-saver-running state off again.
    const auto spi = scripted::callsNamed("SystemParametersInfoA");
    ASSERT_EQ(spi.size(), 2u);
    EXPECT_EQ(spi[0].a, 97u);
    EXPECT_EQ(spi[0].b, 1u);
    EXPECT_EQ(spi[1].b, 0u);
}

TEST_F(PasswordFlow, QueuedFramesAreDroppedBeforeTheDialog) {
    usePassword(FALSE);
    // Two frames wait behind the close request.
    scripted::then([] {
        const HWND w = scripted::lastCreatedWindow();
        PostMessageA(w, WM_CLOSE, 0, 0);
        PostMessageA(w, WM_TIMER, 1, 0);
        PostMessageA(w, WM_TIMER, 1, 0);
    });
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(scripted::count("VerifyScreenSavePwd"), 1u);
    EXPECT_FALSE(closed());
    EXPECT_EQ(scripted::count("swapBuffers"), 0u);
}

TEST_F(PasswordFlow, NoSecondDialogWhileOneIsOpen) {
    usePassword(FALSE);
    scripted::setPasswordVerifier([](HWND w) {
        // A close request arriving from inside the dialog's own loop.
        SendMessageA(w, WM_CLOSE, 0, 0);
        SendMessageA(w, WM_KEYDOWN, 0, 0);
        return FALSE;
    });
    scripted::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_FALSE(closed());
    EXPECT_EQ(scripted::count("VerifyScreenSavePwd"), 1u);
}

TEST_F(PasswordFlow, OnlyTheCloseCheckRunsTheVerifier) {
    usePassword(TRUE);
    int depth = 0;
    int deepest = 0;
    scripted::setPasswordVerifier([&](HWND w) {
        deepest = std::max(deepest, ++depth);
        // The private check message arriving again through the dialog's loop.
        const LRESULT nested = SendMessageA(w, WM_APP, 0, 0);
        EXPECT_EQ(nested, 0);
        --depth;
        return TRUE;
    });
    LRESULT outside = -1;
    // Sent by someone else while no check is pending: no dialog, no approval.
    scripted::then([&] { outside = SendMessageA(scripted::lastCreatedWindow(), WM_APP, 0, 0); });
    scripted::deliver(WM_TIMER, 1);
    scripted::then([&] { EXPECT_EQ(scripted::count("VerifyScreenSavePwd"), 0u); });
    scripted::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(scripted::count("VerifyScreenSavePwd"), 1u);
    EXPECT_TRUE(closed());
}

TEST_F(PasswordFlow, ApprovedCloseStopsInputPaintAndTimersReachingTheApp) {
    usePassword(FALSE);
    std::size_t glCalls = 0;
    scripted::then([&] {
        hostState.closeApproved = true;
        glCalls = recgl::calls().size();
    });
    scripted::deliver(WM_TIMER, 1);
    scripted::deliver(WM_KEYDOWN);
    scripted::deliver(WM_PAINT);
    scripted::then([] { scripted::setCursorPos(400, 400); });
    scripted::deliver(WM_MOUSEMOVE);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(recgl::calls().size(), glCalls);
    EXPECT_EQ(scripted::count("swapBuffers"), 0u);
    EXPECT_FALSE(closed());
    EXPECT_FALSE(closeQueued());
}

TEST_F(PasswordFlow, WithoutAPasswordTheCloseIsImmediate) {
    struct Setup {
        bool keyExists, queryOk;
        DWORD value;
        bool library, hasExport;
    };
    for (const Setup& s :
         {Setup{false, false, 1, true, true}, Setup{true, false, 1, true, true}, Setup{true, true, 0, true, true},
          Setup{true, true, 1, false, false}, Setup{true, true, 1, true, false}}) {
        SetUp();
        useWin9x();
        scripted::setRegistryValue(s.keyExists, s.queryOk, s.value);
        scripted::setLibrary("PASSWORD.CPL", s.library, s.hasExport);
        scripted::deliver(WM_KEYDOWN);
        EXPECT_EQ(run("/s"), 0);
        EXPECT_TRUE(closed());
        EXPECT_EQ(scripted::count("VerifyScreenSavePwd"), 0u);
        EXPECT_EQ(scripted::count("SystemParametersInfoA"), 0u);
        // A library without the export is given back at once.
        EXPECT_EQ(scripted::count("FreeLibrary"), scripted::count("LoadLibraryA") > 0 && s.library ? 1u : 0u);
    }
}

TEST_F(PasswordFlow, AutoPlayIsCancelledOnlyOnTheWindows95Family) {
    usePassword(TRUE);
    LRESULT answer = 0;
    scripted::then([&] { answer = SendMessageA(scripted::lastCreatedWindow(), 0xC123, 0, 0); });
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(scripted::callsNamed("registerMessage").at(0).a, 1u);
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(closed());

    SetUp();
    scripted::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(scripted::count("registerMessage"), 0u);
    EXPECT_EQ(scripted::count("RegOpenKeyA"), 0u);
}

TEST_F(PasswordFlow, OtherPlatformsCloseAtOnceEvenWithAPasswordSet) {
    usePassword(FALSE);
    scripted::setPlatformId(VER_PLATFORM_WIN32_NT);
    scripted::deliver(WM_CLOSE);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_TRUE(closed());
    EXPECT_EQ(scripted::count("LoadLibraryA"), 0u);
}

}  // namespace
}  // namespace hosttest
