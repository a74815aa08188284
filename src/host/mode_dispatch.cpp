// Process entry and the mode switch of the command tail.
#include <atomic>
#include <cstdint>
#include <cstdio>

#include "host/host_state.h"
#include "host/saver_host.h"

namespace smokedrift {

namespace {

constexpr DWORD VERSION_INFO_SIZE = 148;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

LPCSTR skipSpaces(LPCSTR p) {
    while (*p == ' ') ++p;
    return p;
}

// Tells the application why the mode cannot run, and fails it.
int failMode(const char* format, LPCSTR word) {
    char reason[160];
    int length = 0;
    while (word[length] != '\0' && word[length] != ' ' && length < 40) ++length;
    std::snprintf(reason, sizeof(reason), format, length, word);
    modeFailed(reason);
    return MODE_FAILED;
}

// The foreground window stands in only for a missing or dead one.
HWND validWindowOrForeground(HWND handle) {
    return (handle != nullptr && IsWindow(handle)) ? handle : GetForegroundWindow();
}

int runMode(LPCSTR tail) {
    for (LPCSTR p = tail;; ++p) {
        switch (*p) {
        case '\0': return showConfigureDialog(nullptr);
        case ' ':
        case '-':
        case '/': continue;
        case 'S':
        case 's': return runSaver(nullptr);
        case 'P':
        case 'p':
        case 'L':
        case 'l': {
            LPCSTR id = skipSpaces(p + 1);
            const HWND parent = parseWindowHandle(id);
            if (!isDigit(*id)) return failMode("%.*s needs the id of the window to draw into", tail);
            if (parent == nullptr || !IsWindow(parent)) return failMode("no window %.*s to draw into", id);
            return runSaver(parent);
        }
        case 'C':
        case 'c': {
            HWND owner = nullptr;
            if (p[1] == ':') owner = parseWindowHandle(p + 2);
            return showConfigureDialog(validWindowOrForeground(owner));
        }
        case 'A':
        case 'a': {
            if (!hostState.win9xPlatform) return failMode("%.*s: this system keeps no saver password", tail);
            const HWND parent = parseWindowHandle(skipSpaces(p + 1));
            return changePassword(validWindowOrForeground(parent));
        }
        default: return failMode("unknown switch '%.*s' (see --help)", tail);
        }
    }
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

HWND parseWindowHandle(LPCSTR text) {
    std::uint64_t value = 0;
    for (LPCSTR p = text; isDigit(*p); ++p) {
        value = value * 10u + static_cast<std::uint64_t>(*p - '0');
        // Wrapping round would name some other window.
        if (value > 0xFFFFFFFFu) return nullptr;
    }
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
}

int dispatchMode(HINSTANCE instance, HINSTANCE, LPCSTR tail, int) {
    hostState.instanceHandle = instance;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = VERSION_INFO_SIZE;
    hostState.win9xPlatform = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    return runMode(tail);
}

void hostStartup() {
    LPCSTR tail = commandTail(GetCommandLineA());
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    SetUnhandledExceptionFilter(&hostExceptionFilter);
    const int code = dispatchMode(GetModuleHandleA(nullptr), nullptr, tail, show);
    ExitProcess(static_cast<UINT>(code));
}

}  // namespace smokedrift

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { smokedrift::hostStartup(); }
