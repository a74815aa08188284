// The command tail picks the mode; every example tail with its exit code and the call it makes.
#include <stdexcept>

#include "host_fixture.h"
#include "platform/win32/window_backend.h"

namespace hosttest {
namespace {

using smokedrift::commandTail;
namespace scripted = smokedrift::scripted;

constexpr std::uintptr_t PREVIEW_STYLE = 0x52000000;
constexpr std::uintptr_t FULL_SCREEN_STYLE = 0x96000000;
const HWND FOREGROUND = handle(0x777);

class ModeDispatch : public HostTest {};

TEST_F(ModeDispatch, CommandTailSkipsTheProgramNameQuotedOrNot) {
    EXPECT_STREQ(commandTail("\"C:\\Program Files\\smokedrift.scr\" /s"), "/s");
    EXPECT_STREQ(commandTail("smokedrift.scr   \t/p 5"), "/p 5");
    EXPECT_STREQ(commandTail("\"unterminated /s"), "");
    EXPECT_STREQ(commandTail("smokedrift.scr"), "");
    EXPECT_STREQ(commandTail("  /c"), "/c");
}

TEST_F(ModeDispatch, PreviewTailsRunInTheGivenWindow) {
    for (const char* tail : {"/p 1234", "/p1234", "/P   1234", "/l 1234", "-L1234"}) {
        SetUp();
        usePreviewParent();
        scripted::deliver(WM_CLOSE);
        EXPECT_EQ(run(tail), 0) << tail;
        const auto created = scripted::callsNamed("createSurface");
        ASSERT_EQ(created.size(), 1u) << tail;
        EXPECT_EQ(created[0].a, 0u);
        EXPECT_EQ(created[0].b, PREVIEW_STYLE);
        EXPECT_EQ(created[0].c, 1234u);
        EXPECT_EQ(created[0].d, static_cast<std::uintptr_t>(smokedrift::platform::SurfaceRole::Preview));
        const auto rect = scripted::callsNamed("createSurface.rect")[0];
        EXPECT_EQ(rect.c, 152u);
        EXPECT_EQ(rect.d, 112u);
        EXPECT_TRUE(closed()) << tail;
        EXPECT_FALSE(scripted::scriptRanOut());
    }
}

TEST_F(ModeDispatch, BadPreviewTailsFailWithoutAWindow) {
    for (const char* tail : {"/p:1234", "/p 0", "/p 999", "/p", "/l x"}) {
        SetUp();
        usePreviewParent();
        EXPECT_EQ(run(tail), -1) << tail;
        EXPECT_EQ(scripted::count("createSurface"), 0u) << tail;
    }
}

TEST_F(ModeDispatch, FullScreenSwitchesCoverTheScreenAndExitZero) {
    for (const char* tail : {"-s", "/S", " s", "s", "//s"}) {
        SetUp();
        scripted::setScreen(RECT{-10, 5, 790, 605});
        scripted::deliver(WM_KEYDOWN, 'A');
        EXPECT_EQ(run(tail), 0) << tail;
        const auto created = scripted::callsNamed("createSurface");
        ASSERT_EQ(created.size(), 1u) << tail;
        EXPECT_EQ(created[0].a, 8u);
        EXPECT_EQ(created[0].b, FULL_SCREEN_STYLE);
        EXPECT_EQ(created[0].c, 0u);
        // The backend is told the role; it tests neither styles nor sizes for it.
        EXPECT_EQ(created[0].d, static_cast<std::uintptr_t>(smokedrift::platform::SurfaceRole::FullScreen));
        const auto rect = scripted::callsNamed("createSurface.rect")[0];
        EXPECT_EQ(static_cast<LONG>(rect.a), -10);
        EXPECT_EQ(rect.b, 5u);
        EXPECT_EQ(rect.c, 800u);
        EXPECT_EQ(rect.d, 600u);
        EXPECT_EQ(scripted::callsNamed("setForeground").at(0).a, value(scripted::lastCreatedWindow()));
        EXPECT_TRUE(closed()) << tail;
    }
}

TEST_F(ModeDispatch, UnknownSwitchesFail) {
    for (const char* tail : {"/x", "/\ts", "-?", "\ts"}) {
        SetUp();
        EXPECT_EQ(run(tail), -1) << tail;
        EXPECT_EQ(scripted::count("createSurface"), 0u);
        EXPECT_EQ(scripted::count("dialogBox"), 0u);
    }
}

TEST_F(ModeDispatch, AFailedModeSaysWhyAndAHandlePast32BitsNamesNoWindow) {
    struct Case {
        const char* tail;
        const char* reason;
    };
    // 4294968530 is 2^32 + 1234: read modulo 2^32 it would be the preview parent.
    for (const Case& c : {Case{"/x", "unknown switch '/x'"}, Case{"hello there", "unknown switch 'hello'"},
                          Case{"/p", "/p needs the id"}, Case{"/p 99", "no window 99 "},
                          Case{"/p 4294968530", "no window 4294968530 "}, Case{"/a", "keeps no saver password"}}) {
        SetUp();
        usePreviewParent();
        testing::internal::CaptureStderr();
        EXPECT_EQ(run(c.tail), -1) << c.tail;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.reason), std::string::npos) << c.tail << ": " << said;
        EXPECT_EQ(scripted::count("createSurface"), 0u) << c.tail;
    }
}

TEST_F(ModeDispatch, ConfigureDialogOwnerFollowsTheTail) {
    struct Case {
        const char* tail;
        HWND owner;
    };
    for (const Case& c : {Case{"/c:1234", PREVIEW_PARENT}, Case{"/c 1234", FOREGROUND}, Case{"/c", FOREGROUND},
                          Case{"/c:999", FOREGROUND}, Case{"", nullptr}}) {
        SetUp();
        usePreviewParent();
        scripted::addForeignWindow(FOREGROUND, 10, 10);
        scripted::setForegroundWindow(FOREGROUND);
        scripted::pressDialogButtons({IDOK});
        EXPECT_EQ(run(c.tail), 1) << c.tail;
        const auto dialog = scripted::callsNamed("dialogBox");
        ASSERT_EQ(dialog.size(), 1u);
        EXPECT_EQ(dialog[0].a, 2003u);
        EXPECT_EQ(dialog[0].b, value(c.owner)) << c.tail;
        // A live owner from the tail is used as it is; the foreground window is not even asked.
        EXPECT_EQ(scripted::count("foreground"), c.owner == FOREGROUND ? 1u : 0u) << c.tail;
    }
}

TEST_F(ModeDispatch, ConfigureDialogResultIsTheExitCode) {
    scripted::pressDialogButtons({IDCANCEL});
    EXPECT_EQ(run("/c"), 0);
    SetUp();
    scripted::pressDialogButtons({7, IDOK});
    EXPECT_EQ(run("/c"), 1);
    SetUp();
    scripted::setDialogTemplateMissing();
    EXPECT_EQ(run("/c"), -1);
}

TEST_F(ModeDispatch, PasswordChangeOnlyOnTheWindows95Family) {
    scripted::setLibrary("MPR.DLL", true, true);
    EXPECT_EQ(run("/a"), -1);
    EXPECT_EQ(scripted::count("PwdChangePasswordA"), 0u);

    SetUp();
    scripted::setLibrary("MPR.DLL", true, true);
    scripted::setPlatformId(VER_PLATFORM_WIN32_WINDOWS);
    scripted::failVersionQuery();
    EXPECT_EQ(run("/a"), -1);

    SetUp();
    useWin9x();
    usePreviewParent();
    scripted::setLibrary("MPR.DLL", true, true);
    EXPECT_EQ(run("/a 1234"), 0);
    const auto change = scripted::callsNamed("PwdChangePasswordA");
    ASSERT_EQ(change.size(), 1u);
    EXPECT_EQ(change[0].a, 1u);  // "SCRSAVE"
    EXPECT_EQ(change[0].b, 1234u);
    EXPECT_EQ(scripted::count("FreeLibrary"), 1u);

    SetUp();
    useWin9x();
    scripted::setForegroundWindow(FOREGROUND);
    scripted::addForeignWindow(FOREGROUND, 10, 10);
    scripted::setLibrary("MPR.DLL", true, true);
    EXPECT_EQ(run("/A"), 0);
    EXPECT_EQ(scripted::callsNamed("PwdChangePasswordA").at(0).b, value(FOREGROUND));

    SetUp();
    useWin9x();
    EXPECT_EQ(run("/a"), 0);  // no MPR.DLL: nothing happens, still 0
    EXPECT_EQ(scripted::count("FreeLibrary"), 0u);
}

TEST_F(ModeDispatch, SecondFullScreenStartRaisesTheFirst) {
    const HWND running = handle(0x55);
    scripted::addForeignWindow(running, 800, 600, "WindowsScreenSaverClass", "Screen Saver");
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(scripted::count("createSurface"), 0u);
    ASSERT_EQ(scripted::count("setForeground"), 1u);
    EXPECT_EQ(scripted::callsNamed("setForeground")[0].a, value(running));

    // A preview of the class is no full-screen saver.
    SetUp();
    scripted::addForeignWindow(running, 80, 60, "WindowsScreenSaverClass", "Preview");
    scripted::deliver(WM_KEYDOWN);
    EXPECT_EQ(run("/s"), 0);
    EXPECT_EQ(scripted::count("createSurface"), 1u);
}

TEST_F(ModeDispatch, StartupEndsTheProcessWithTheModeCode) {
    // WinMain's composition: the command line read once, then the host.
    EXPECT_THROW(smokedrift::runHost(smokedrift::readHostSwitch(commandTail("\"smokedrift.scr\" /x"))),
                 std::runtime_error);
    ASSERT_EQ(scripted::count("ExitProcess"), 1u);
    EXPECT_EQ(scripted::callsNamed("ExitProcess")[0].a, 0xFFFFFFFFu);
    EXPECT_EQ(scripted::topLevelFilter(), &smokedrift::hostExceptionFilter);
}

// An exception nobody handles reaches the system's filter, which asks the top-level filter, ours,
// which asks the system's filter again. The nested round must step aside, not recurse, and the
// running state must go off exactly when the system takes the exception.
TEST_F(ModeDispatch, ExceptionGuardLetsTheSystemDecideAndClearsTheRunningState) {
    for (const LONG system : {EXCEPTION_EXECUTE_HANDLER, EXCEPTION_CONTINUE_SEARCH}) {
        SetUp();
        useWin9x();
        EXPECT_EQ(run("/x"), -1);  // the dispatch notes the platform family
        scripted::setSystemExceptionVerdict(system);
        SetUnhandledExceptionFilter(&smokedrift::hostExceptionFilter);
        EXPECT_EQ(UnhandledExceptionFilter(nullptr), system);
        EXPECT_EQ(scripted::count("UnhandledExceptionFilter"), 2u) << "rounds";
        const auto running = scripted::callsNamed("SystemParametersInfoA");
        if (system == EXCEPTION_EXECUTE_HANDLER) {
            ASSERT_EQ(running.size(), 1u);
            EXPECT_EQ(running[0].a, 97u);
            EXPECT_EQ(running[0].b, 0u);
        } else {
            EXPECT_TRUE(running.empty());  // a debugger took it: the saver still runs
        }
        // The guard is ready for the next exception.
        EXPECT_EQ(UnhandledExceptionFilter(nullptr), system);
        EXPECT_EQ(scripted::count("UnhandledExceptionFilter"), 4u);
    }
}

}  // namespace
}  // namespace hosttest
