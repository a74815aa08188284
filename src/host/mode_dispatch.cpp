// Process entry and the mode switch of the command tail.
#include <atomic>
#include <cstdint>
#include <cstdio>

#include "host/host_state.h"
#include "host/mode_switch.h"
#include "host/saver_host.h"

namespace smokedrift {

namespace {

constexpr DWORD VERSION_INFO_SIZE = 148;

// Tells the application why the mode cannot run, and fails it.
int failMode(const char* format, const char* word) {
    char reason[160];
    std::snprintf(reason, sizeof(reason), format, word);
    modeFailed(reason);
    return MODE_FAILED;
}

// The foreground window stands in only for a missing or dead one.
HWND validWindowOrForeground(HWND handle) {
    return (handle != nullptr && IsWindow(handle)) ? handle : GetForegroundWindow();
}

HWND handleOf(std::uint32_t window) { return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(window)); }

int runMode(const HostRequest& request) {
    const HWND window = handleOf(request.window);
    switch (request.mode) {
    case HostMode::Dialog: return showConfigureDialog(nullptr);
    case HostMode::Saver: return runSaver(nullptr);
    case HostMode::Preview:
        if (!request.idGiven) return failMode("%s needs the id of the window to draw into", request.word);
        if (window == nullptr || !IsWindow(window)) return failMode("no window %s to draw into", request.id);
        return runSaver(window);
    case HostMode::Settings: return showConfigureDialog(validWindowOrForeground(window));
    case HostMode::Password:
        if (!hostState.win9xPlatform) return failMode("%s: this system keeps no saver password", request.word);
        return changePassword(validWindowOrForeground(window));
    case HostMode::Unknown: break;
    }
    return failMode("unknown switch '%s' (see --help)", request.word);
}

}  // namespace

// GCC has no structured-exception blocks, so the guard around the dispatch is the process's
// top-level filter. The system decides; when it takes the exception, the screen-saver-running
// state goes off so that the system does not stay locked believing a saver still runs. The
// system's filter calls the top-level filter, this one, again: that nested call steps aside.
LONG WINAPI hostExceptionFilter(EXCEPTION_POINTERS* info) {
    static std::atomic<bool> deciding{false};
    if (deciding.exchange(true)) return EXCEPTION_CONTINUE_SEARCH;
    const LONG verdict = UnhandledExceptionFilter(info);
    deciding = false;
    if (verdict == EXCEPTION_EXECUTE_HANDLER) setSaverRunning(0);
    return verdict;
}

LPCSTR commandTail(LPCSTR commandLine) {
    LPCSTR p = commandLine;
    if (*p == '"') {
        p = CharNextA(p);
        while (*p != '\0' && *p != '"') p = CharNextA(p);
        if (*p == '"') p = CharNextA(p);
    } else if (static_cast<unsigned char>(*p) > 0x20) {
        while (static_cast<unsigned char>(*p) > 0x20) p = CharNextA(p);
    }
    while (*p != '\0' && static_cast<unsigned char>(*p) <= 0x20) ++p;
    return p;
}

int dispatchMode(HINSTANCE instance, const HostRequest& request) {
    hostState.instanceHandle = instance;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = VERSION_INFO_SIZE;
    hostState.win9xPlatform = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    return runMode(request);
}

void runHost(const HostRequest& request) {
    SetUnhandledExceptionFilter(&hostExceptionFilter);
    const int code = dispatchMode(GetModuleHandleA(nullptr), request);
    ExitProcess(static_cast<UINT>(code));
}

}  // namespace smokedrift

#ifdef _WIN32
// Windows hands the command line as one string: it is read here, with the host's grammar, once.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    smokedrift::runHost(smokedrift::readHostSwitch(smokedrift::commandTail(GetCommandLineA())));
}
#endif
