// The saver procedure: context and scene at creation, a frame per tick, release at destruction.
#include "base/random.h"
#include "saver/frame_schedule.h"
#include "saver/graphics_context.h"
#include "app/scene.h"
#include "host_fixture.h"

namespace hosttest {
namespace {

namespace fake = smokedrift::fake;

PIXELFORMATDESCRIPTOR format(DWORD flags, BYTE colour, BYTE alpha, BYTE depth) {
    PIXELFORMATDESCRIPTOR f = {};
    f.nSize = 40;
    f.nVersion = 1;
    f.dwFlags = flags;
    f.cColorBits = colour;
    f.cAlphaBits = alpha;
    f.cDepthBits = depth;
    return f;
}

constexpr DWORD WINDOW_GL_DOUBLE = 0x25;

class SaverProc : public HostTest {
protected:
    // The saver paces its frames by its own clock: here the scripted tick count.
    void SetUp() override {
        HostTest::SetUp();
        smokedrift::setSaverClock([] { return static_cast<std::int64_t>(GetTickCount()) * 1000; });
    }
    void TearDown() override { smokedrift::setSaverClock(nullptr); }

    static std::vector<std::string> platformCallNames() {
        std::vector<std::string> names;
        for (const auto& c : fake::calls()) names.push_back(c.name);
        return names;
    }
};

TEST_F(SaverProc, CreationSetsUpContextSceneAndTimerInOrder) {
    usePreviewParent();
    fake::setPixelFormats({format(WINDOW_GL_DOUBLE, 24, 8, 16)}, 1);
    EXPECT_EQ(run("/p 1234"), 0);
    EXPECT_EQ(smokedrift::scene.screenLayout.windowWidth, 152);
    EXPECT_EQ(smokedrift::scene.screenLayout.windowHeight, 112);

    const auto choose = fake::callsNamed("ChoosePixelFormat").at(0);
    EXPECT_EQ(choose.b, WINDOW_GL_DOUBLE);
    EXPECT_EQ(choose.c, 16u);
    EXPECT_EQ(choose.d, 16u);
    // The swap interval is asked for once the context is current (where the entry point exists,
    // one frame per refresh), before the timer starts.
    std::vector<std::string> wanted = {"GetDC", "ChoosePixelFormat", "SetPixelFormat", "wglCreateContext",
                                       "wglMakeCurrent", "wglGetProcAddress", "SetTimer"};
    std::vector<std::string> seen;
    for (const auto& name : platformCallNames()) {
        if (std::find(wanted.begin(), wanted.end(), name) != wanted.end()) seen.push_back(name);
    }
    EXPECT_EQ(seen, wanted);
    const auto timer = fake::callsNamed("SetTimer").at(0);
    EXPECT_EQ(timer.b, 1u);
    EXPECT_EQ(timer.c, 5u);
    ASSERT_FALSE(recgl::calls().empty());
    EXPECT_EQ(recgl::calls().front().name, "glLineWidth");
}

TEST_F(SaverProc, GeneratorIsSeededFromTheTickCount) {
    auto firstDrawAfterStart = [this](DWORD ticks) {
        SetUp();
        usePreviewParent();
        fake::setTickCount(ticks);
        int draw = -1;
        fake::then([&] { draw = smokedrift::nextRandom(); });
        run("/p 1234");
        return draw;
    };
    const int a = firstDrawAfterStart(4711);
    EXPECT_EQ(firstDrawAfterStart(4711), a);
    EXPECT_NE(firstDrawAfterStart(815), a);
}

TEST_F(SaverProc, FormatWithoutAlphaIsReplacedByTheClosestWithAlpha) {
    usePreviewParent();
    fake::setPixelFormats({format(WINDOW_GL_DOUBLE, 24, 0, 16), format(WINDOW_GL_DOUBLE, 32, 8, 24),
                           format(WINDOW_GL_DOUBLE, 24, 8, 16), format(0x21, 24, 8, 16),
                           format(WINDOW_GL_DOUBLE, 24, 8, 32)},
                          1);
    run("/p 1234");
    EXPECT_EQ(fake::callsNamed("SetPixelFormat").at(0).b, 3u);
}

TEST_F(SaverProc, SystemChoiceStandsWhenItHasAlphaOrNothingBetterExists) {
    usePreviewParent();
    fake::setPixelFormats({format(WINDOW_GL_DOUBLE, 24, 8, 16), format(WINDOW_GL_DOUBLE, 32, 8, 24)}, 2);
    run("/p 1234");
    EXPECT_EQ(fake::callsNamed("SetPixelFormat").at(0).b, 2u);

    SetUp();
    usePreviewParent();
    fake::setPixelFormats({format(WINDOW_GL_DOUBLE, 24, 0, 16), format(0x21, 24, 8, 16)}, 1);
    run("/p 1234");
    EXPECT_EQ(fake::callsNamed("SetPixelFormat").at(0).b, 1u);
}

TEST_F(SaverProc, AnyTimerRendersAFrameAndSwaps) {
    usePreviewParent();
    std::size_t before = 0;
    fake::then([&] { before = recgl::calls().size(); });
    fake::deliver(WM_TIMER, 77);
    fake::then([] { fake::advanceTicks(17); });
    fake::deliver(WM_TIMER, 1);
    run("/p 1234");
    EXPECT_GT(recgl::calls().size(), before);
    const auto swaps = fake::callsNamed("SwapBuffers");
    ASSERT_EQ(swaps.size(), 2u);
    EXPECT_EQ(swaps[0].a, fake::callsNamed("GetDC").back().b);
}

struct Pacing {
    const char* what;
    DWORD firstTick;
    DWORD tickStep;  // milliseconds between timer messages
    int ticks;
    bool hidden;     // nothing of the window can be seen
    std::size_t frames;
};

// At most one frame per 1/60 s however fast the timer runs (the scene moves by elapsed time, so
// skipped ticks change no speed), every tick when the frames come slower, none while hidden.
const Pacing PACING[] = {
    {"5 ms ticks over 100 ms", 1000, 5, 21, false, 7},
    {"20 ms ticks", 1000, 20, 5, false, 5},
    {"hidden", 1000, 20, 5, true, 0},
};

TEST_F(SaverProc, FramesAreCappedAtSixtyASecondAndNoneDrawWhileHidden) {
    for (const Pacing& p : PACING) {
        SetUp();
        usePreviewParent();
        fake::setWindowsHidden(p.hidden);
        for (int i = 0; i < p.ticks; ++i) {
            fake::then([&p, i] { fake::setTickCount(p.firstTick + p.tickStep * static_cast<DWORD>(i)); });
            fake::deliver(WM_TIMER, 1);
        }
        run("/p 1234");
        EXPECT_EQ(fake::count("SwapBuffers"), p.frames) << p.what;
    }
}

TEST_F(SaverProc, DestructionStopsTheTimerAndReleasesTheContext) {
    usePreviewParent();
    fake::deliver(WM_CLOSE);
    run("/p 1234");
    const std::vector<std::string> wanted = {"KillTimer", "wglMakeCurrent", "wglDeleteContext", "ReleaseDC"};
    std::vector<std::string> seen;
    bool destroying = false;
    for (const auto& c : fake::calls()) {
        if (c.name == "KillTimer") destroying = true;
        if (destroying && std::find(wanted.begin(), wanted.end(), c.name) != wanted.end()) seen.push_back(c.name);
    }
    EXPECT_EQ(seen, wanted);
    EXPECT_EQ(fake::callsNamed("KillTimer").at(0).b, 1u);
    EXPECT_EQ(fake::callsNamed("wglMakeCurrent").back().a, 0u);
    EXPECT_EQ(fake::callsNamed("wglMakeCurrent").back().b, 0u);
    EXPECT_EQ(recgl::count("glDeleteLists"), 0u);
}

TEST_F(SaverProc, ConfigureDialogEndsWithOneForOkAndZeroForCancel) {
    using smokedrift::configureDialogProc;
    const HWND dialog = handle(0xD1A);
    EXPECT_EQ(configureDialogProc(dialog, WM_INITDIALOG, 0, 0), FALSE);
    EXPECT_EQ(configureDialogProc(dialog, WM_COMMAND, 3, 0), FALSE);
    EXPECT_EQ(fake::count("EndDialog"), 0u);
    EXPECT_EQ(configureDialogProc(dialog, WM_COMMAND, 0x10000 | IDOK, 0), TRUE);
    EXPECT_EQ(configureDialogProc(dialog, WM_COMMAND, IDCANCEL, 0), TRUE);
    const auto ends = fake::callsNamed("EndDialog");
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].b, 1u);
    EXPECT_EQ(ends[1].b, 0u);
    EXPECT_NE(smokedrift::registerDialogClasses(nullptr), 0);
}

}  // namespace
}  // namespace hosttest
