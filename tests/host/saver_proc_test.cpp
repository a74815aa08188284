// The saver procedure: context and scene at creation, a frame per tick, release at destruction.
#include "app/scene.h"
#include "base/random.h"
#include "host_fixture.h"
#include "saver/graphics_context.h"
#include "saver/saver_options.h"

namespace hosttest {
namespace {

namespace scripted = smokedrift::scripted;

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
    static std::vector<std::string> platformCallNames() {
        std::vector<std::string> names;
        for (const auto& c : scripted::calls()) names.push_back(c.name);
        return names;
    }
};

TEST_F(SaverProc, CreationSetsUpContextSceneAndTimerInOrder) {
    usePreviewParent();
    scripted::setPixelFormats({format(WINDOW_GL_DOUBLE, 24, 8, 16)}, 1);
    scripted::elapse(30);
    EXPECT_EQ(run("/p 1234"), 0);
    EXPECT_EQ(smokedrift::scene.screenLayout.windowWidth, 152);
    EXPECT_EQ(smokedrift::scene.screenLayout.windowHeight, 112);

    const auto choose = scripted::callsNamed("choosePixelFormat").at(0);
    EXPECT_EQ(choose.a, WINDOW_GL_DOUBLE);
    EXPECT_EQ(choose.b, 16u);
    EXPECT_EQ(choose.c, 16u);
    // The swap interval is asked for once the context is current (where the entry point exists,
    // one frame per refresh), before the timer draws the first frame.
    const std::vector<std::string> wanted = {"choosePixelFormat", "setPixelFormat", "createContext",
                                             "makeCurrent",       "procAddress",    "swapBuffers"};
    std::vector<std::string> seen;
    for (const auto& name : platformCallNames()) {
        if (std::find(wanted.begin(), wanted.end(), name) != wanted.end()) seen.push_back(name);
        if (name == "swapBuffers") break;
    }
    EXPECT_EQ(seen, wanted);
    ASSERT_FALSE(recgl::calls().empty());
    EXPECT_EQ(recgl::calls().front().name, "glLineWidth");
}

TEST_F(SaverProc, GeneratorIsSeededFromTheTickCount) {
    auto firstDrawAfterStart = [this](DWORD ticks) {
        SetUp();
        usePreviewParent();
        scripted::setTickCount(ticks);
        int draw = -1;
        scripted::then([&] { draw = smokedrift::nextRandom(); });
        run("/p 1234");
        return draw;
    };
    const int a = firstDrawAfterStart(4711);
    EXPECT_EQ(firstDrawAfterStart(4711), a);
    EXPECT_NE(firstDrawAfterStart(815), a);
}

TEST_F(SaverProc, FormatWithoutAlphaIsReplacedByTheClosestWithAlpha) {
    usePreviewParent();
    scripted::setPixelFormats(
        {format(WINDOW_GL_DOUBLE, 24, 0, 16), format(WINDOW_GL_DOUBLE, 32, 8, 24), format(WINDOW_GL_DOUBLE, 24, 8, 16),
         format(0x21, 24, 8, 16), format(WINDOW_GL_DOUBLE, 24, 8, 32)},
        1);
    run("/p 1234");
    EXPECT_EQ(scripted::callsNamed("setPixelFormat").at(0).b, 3u);
}

TEST_F(SaverProc, SystemChoiceStandsWhenItHasAlphaOrNothingBetterExists) {
    usePreviewParent();
    scripted::setPixelFormats({format(WINDOW_GL_DOUBLE, 24, 8, 16), format(WINDOW_GL_DOUBLE, 32, 8, 24)}, 2);
    run("/p 1234");
    EXPECT_EQ(scripted::callsNamed("setPixelFormat").at(0).b, 2u);

    SetUp();
    usePreviewParent();
    scripted::setPixelFormats({format(WINDOW_GL_DOUBLE, 24, 0, 16), format(0x21, 24, 8, 16)}, 1);
    run("/p 1234");
    EXPECT_EQ(scripted::callsNamed("setPixelFormat").at(0).b, 1u);
}

TEST_F(SaverProc, AnyTimerRendersAFrameAndSwaps) {
    usePreviewParent();
    std::size_t before = 0;
    scripted::then([&] { before = recgl::calls().size(); });
    scripted::deliver(WM_TIMER, 77);
    scripted::then([] { scripted::advanceTicks(17); });
    scripted::deliver(WM_TIMER, 1);
    run("/p 1234");
    EXPECT_GT(recgl::calls().size(), before);
    const auto swaps = scripted::callsNamed("swapBuffers");
    ASSERT_EQ(swaps.size(), 2u);
    EXPECT_EQ(swaps[0].a, value(scripted::lastCreatedWindow()));
}

struct Pacing {
    const char* what;
    DWORD firstTick;
    DWORD milliseconds;  // how long the timer runs
    bool hidden;         // nothing of the window can be seen
    std::size_t frames;
};

// The saver's timer ticks as often as the window system lets it (every 10 ms); at most one frame
// per 1/60 s comes of it (the scene moves by elapsed time, so skipped ticks change no speed), and
// none while hidden.
const Pacing PACING[] = {
    {"100 ms", 1000, 100, false, 6},
    {"a second", 1000, 1000, false, 60},
    {"100 ms across the tick counter's wrap", 0xFFFFFFF0u, 100, false, 6},
    {"hidden", 1000, 100, true, 0},
};

TEST_F(SaverProc, FramesAreCappedAtSixtyASecondAndNoneDrawWhileHidden) {
    for (const Pacing& p : PACING) {
        SetUp();
        usePreviewParent();
        scripted::setWindowsHidden(p.hidden);
        scripted::setTickCount(p.firstTick);
        scripted::elapse(p.milliseconds);
        run("/p 1234");
        EXPECT_EQ(scripted::count("swapBuffers"), p.frames) << p.what;
    }
}

TEST_F(SaverProc, DestructionReleasesTheContext) {
    usePreviewParent();
    scripted::deliver(WM_CLOSE);
    run("/p 1234");
    const auto names = platformCallNames();
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[names.size() - 2], "makeCurrent");
    EXPECT_EQ(names.back(), "deleteContext");
    EXPECT_EQ(scripted::callsNamed("makeCurrent").back().a, 0u);
    EXPECT_EQ(scripted::callsNamed("makeCurrent").back().b, 0u);
    EXPECT_EQ(recgl::count("glDeleteLists"), 0u);
}

TEST_F(SaverProc, AScenelessSaverDrawsNothingAndClosesByTheSameRules) {
    smokedrift::SaverOptions options;
    options.sceneless = true;
    smokedrift::setSaverOptions(options);
    scripted::elapse(100);
    scripted::deliver(WM_KEYDOWN, 'Q');
    const int code = run("/s");
    smokedrift::setSaverOptions({});
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(closed());
    EXPECT_EQ(scripted::count("createContext"), 0u);
    EXPECT_EQ(scripted::count("swapBuffers"), 0u);
}

TEST_F(SaverProc, ConfigureDialogEndsWithOneForOkAndZeroForCancel) {
    using smokedrift::configureDialogProc;
    const HWND dialog = handle(0xD1A);
    EXPECT_EQ(configureDialogProc(dialog, WM_INITDIALOG, 0, 0), FALSE);
    EXPECT_EQ(configureDialogProc(dialog, WM_COMMAND, 3, 0), FALSE);
    EXPECT_EQ(scripted::count("endDialog"), 0u);
    EXPECT_EQ(configureDialogProc(dialog, WM_COMMAND, 0x10000 | IDOK, 0), TRUE);
    EXPECT_EQ(configureDialogProc(dialog, WM_COMMAND, IDCANCEL, 0), TRUE);
    const auto ends = scripted::callsNamed("endDialog");
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].b, 1u);
    EXPECT_EQ(ends[1].b, 0u);
    EXPECT_NE(smokedrift::registerDialogClasses(nullptr), 0);
}

}  // namespace
}  // namespace hosttest
