// Any command line through the host's tail reading and mode dispatch, on the scripted platform:
// the world (platform family, registry, libraries, windows), the command line, the messages the
// saver window gets and what a password verifier does while its dialog runs all come from the
// input. Every run ends (the script is finite, the dialog presses the scripted buttons), returns
// one of the defined exit codes, and a refused password never lets the full-screen saver close.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/host_state.h"
#include "host/saver_host.h"
#include "recording_gl.h"
#include "scripted_platform.h"

namespace {

using namespace smokedrift;

const HWND PREVIEW_PARENT = reinterpret_cast<HWND>(1234);
const HWND RUNNING_SAVER = reinterpret_cast<HWND>(4321);
constexpr UINT AUTOPLAY = 0xC123;  // what the scripted RegisterWindowMessageA hands out

const UINT MESSAGES[] = {WM_TIMER,       WM_MOUSEMOVE,   WM_KEYDOWN,     WM_SYSKEYDOWN, WM_LBUTTONDOWN,
                         WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_ACTIVATEAPP, WM_POWER,      WM_POWERBROADCAST,
                         WM_CLOSE,       WM_APP,         WM_SETCURSOR,   WM_SHOWWINDOW, WM_PAINT,
                         WM_SYSCOMMAND,  WM_HELP,        WM_CONTEXTMENU, WM_SETTEXT,    AUTOPLAY};
constexpr std::size_t MESSAGE_COUNT = sizeof(MESSAGES) / sizeof(MESSAGES[0]);
constexpr std::size_t MAX_SCRIPT = 48;
const WPARAM WPARAMS[] = {0, 1, 3, SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE, 0xF060};

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
};

MSG scriptedMessage(std::uint8_t what, std::uint8_t param) {
    MSG m = {};
    m.message = MESSAGES[what % MESSAGE_COUNT];
    m.wParam = WPARAMS[param % (sizeof(WPARAMS) / sizeof(WPARAMS[0]))];
    return m;
}

int verifierDepth = 0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    scripted::reset();
    resetHostState();
    recgl::reset();
    // Nothing here reads the GL calls back; storing the thousands a script of frames makes was
    // most of a run's time.
    recgl::setRecording(false);
    verifierDepth = 0;

    const std::uint8_t world = in.byte();
    const std::uint8_t more = in.byte();
    const bool win9x = world & 1;
    if (win9x) scripted::setPlatformId(VER_PLATFORM_WIN32_WINDOWS);
    if (world & 2) scripted::failVersionQuery();
    scripted::setRegistryValue(world & 4, world & 8, (world & 16) ? 1u : 0u);
    scripted::setLibrary("PASSWORD.CPL", world & 32, world & 64);
    const bool accept = world & 128;
    scripted::setLibrary("MPR.DLL", more & 1, more & 2);
    scripted::setLibrary("IMM32.DLL", more & 4, more & 8);
    scripted::setImeContext(reinterpret_cast<HIMC>(0x77));
    if (more & 16) scripted::addForeignWindow(PREVIEW_PARENT, 152, 112);
    if (more & 32) scripted::addForeignWindow(RUNNING_SAVER, 640, 480, "WindowsScreenSaverClass", "Screen Saver");
    if (more & 64) scripted::setDialogTemplateMissing();
    if (more & 128) scripted::setForegroundWindow(PREVIEW_PARENT);

    // The verifier runs a dialog of its own: messages reach the saver window meanwhile.
    const std::uint8_t nested = in.byte() % 4;
    std::vector<MSG> duringDialog;
    for (std::uint8_t i = 0; i < nested; ++i) {
        const std::uint8_t what = in.byte();
        duringDialog.push_back(scriptedMessage(what, in.byte()));
    }
    scripted::setPasswordVerifier([accept, duringDialog](HWND window) {
        if (++verifierDepth > 1) __builtin_trap();  // a second dialog over the first
        for (MSG m : duringDialog) {
            m.hwnd = window;
            DispatchMessageA(&m);
        }
        --verifierDepth;
        return accept ? TRUE : FALSE;
    });

    std::vector<WORD> buttons;
    for (std::uint8_t n = in.byte() % 3; n > 0; --n) buttons.push_back(static_cast<WORD>(1 + in.byte() % 3));
    scripted::pressDialogButtons(buttons);

    std::string commandLine;
    while (in.size > 0) {
        const char c = static_cast<char>(in.byte());
        if (c == '\0') break;
        commandLine.push_back(c);
    }
    for (std::size_t i = 0; i < MAX_SCRIPT && in.size >= 3; ++i) {
        const std::uint8_t what = in.byte();
        const std::uint8_t param = in.byte();
        const std::uint8_t step = in.byte();
        scripted::then([step] {
            scripted::advanceTicks(static_cast<DWORD>(step & 0x0F) * 40u);
            scripted::setCursorPos(static_cast<LONG>(step >> 4) * 2, static_cast<LONG>(step & 3));
        });
        const MSG m = scriptedMessage(what, param);
        scripted::deliver(m.message, m.wParam);
    }

    const LPCSTR tail = commandTail(commandLine.c_str());
    if (tail < commandLine.c_str() || tail > commandLine.c_str() + commandLine.size()) __builtin_trap();
    const int code = dispatchMode(reinterpret_cast<HINSTANCE>(0x400000), smokedrift::readHostSwitch(tail));
    if (code != -1 && code != 0 && code != 1) __builtin_trap();

    // A refused password keeps the full-screen saver open whatever arrives.
    const bool passwordSet =
        win9x && !(world & 2) && (world & 4) && (world & 8) && (world & 16) && (world & 32) && (world & 64) && !accept;
    const HWND saver = scripted::lastCreatedWindow();
    if (passwordSet && saver != nullptr && scripted::count("VerifyScreenSavePwd") > 0 &&
        !scripted::windowAlive(saver)) {
        __builtin_trap();
    }
    // Whatever happened, nothing is left loaded and the running state is switched back off.
    if (hostState.passwordLibrary != nullptr || hostState.verifyPasswordFn != nullptr) __builtin_trap();
    recgl::reset();
    return 0;
}
