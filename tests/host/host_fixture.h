#pragma once
// Shared set-up of the host tests: a fresh scripted platform, fresh host state, fresh GL record.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "host/host_state.h"
#include "host/saver_host.h"
#include "platform/fake_platform.h"
#include "platform/posix_backend.h"
#include "recording_gl.h"

namespace hosttest {

inline HWND handle(std::uintptr_t value) { return reinterpret_cast<HWND>(value); }
inline std::uintptr_t value(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

inline const HWND PREVIEW_PARENT = handle(1234);

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        smokedrift::fake::reset();
        smokedrift::resetHostState();
        recgl::reset();
    }

    static int run(const char* tail) {
        return smokedrift::dispatchMode(reinterpret_cast<HINSTANCE>(0x400000), nullptr, tail, SW_SHOWDEFAULT);
    }

    static void usePreviewParent() { smokedrift::fake::addForeignWindow(PREVIEW_PARENT, 152, 112); }

    static void useWin9x() { smokedrift::fake::setPlatformId(VER_PLATFORM_WIN32_WINDOWS); }

    // A password-protected desktop on the Windows 95 family with a verifier answering `accept`.
    static void usePassword(BOOL accept) {
        useWin9x();
        smokedrift::fake::setRegistryValue(true, true, 1);
        smokedrift::fake::setLibrary("PASSWORD.CPL", true, true);
        smokedrift::fake::setPasswordVerifier([accept](HWND) { return accept; });
    }

    static bool closed() {
        const HWND w = smokedrift::fake::lastCreatedWindow();
        return w != nullptr && !smokedrift::fake::windowAlive(w);
    }

    static bool received(UINT message) {
        const auto r = smokedrift::fake::receivedBySaver();
        return std::find(r.begin(), r.end(), message) != r.end();
    }
};

}  // namespace hosttest
