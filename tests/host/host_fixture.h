#pragma once
// Shared set-up of the host tests: a fresh Win32 emulation over the scripted window system, fresh
// host state, fresh GL record.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "host/host_state.h"
#include "host/saver_host.h"
#include "recording_gl.h"
#include "saver/frame_schedule.h"
#include "scripted_platform.h"

namespace hosttest {

inline HWND handle(std::uintptr_t value) { return reinterpret_cast<HWND>(value); }
inline std::uintptr_t value(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

inline const HWND PREVIEW_PARENT = handle(1234);

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        smokedrift::scripted::reset();
        smokedrift::resetHostState();
        recgl::reset();
        // The saver paces its frames on the clock the window system's timers run on.
        smokedrift::setSaverClock([] { return static_cast<std::int64_t>(smokedrift::scripted::now()) * 1000; });
    }

    void TearDown() override { smokedrift::setSaverClock(nullptr); }

    static int run(const char* tail) {
        return smokedrift::dispatchMode(reinterpret_cast<HINSTANCE>(0x400000), smokedrift::readHostSwitch(tail));
    }

    static void usePreviewParent() { smokedrift::scripted::addForeignWindow(PREVIEW_PARENT, 152, 112); }

    static void useWin9x() { smokedrift::scripted::setPlatformId(VER_PLATFORM_WIN32_WINDOWS); }

    // A password-protected desktop on the Windows 95 family with a verifier answering `accept`.
    static void usePassword(BOOL accept) {
        useWin9x();
        smokedrift::scripted::setRegistryValue(true, true, 1);
        smokedrift::scripted::setLibrary("PASSWORD.CPL", true, true);
        smokedrift::scripted::setPasswordVerifier([accept](HWND) { return accept; });
    }

    static bool closed() {
        const HWND w = smokedrift::scripted::lastCreatedWindow();
        return w != nullptr && !smokedrift::scripted::windowAlive(w);
    }

    // Whether the saver window has asked to be closed and the request waits in its queue.
    static bool closeQueued() {
        MSG m;
        return PeekMessageA(&m, smokedrift::scripted::lastCreatedWindow(), WM_CLOSE, WM_CLOSE, 0) != FALSE;
    }
};

}  // namespace hosttest
