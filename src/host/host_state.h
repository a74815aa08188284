#pragma once
// Host state: one instance per process, touched only on the message-loop thread.
#include "platform/win32/win32_api.h"

namespace smokedrift {

typedef BOOL(WINAPI* VerifyPasswordFn)(HWND window);
typedef HIMC(WINAPI* AssociateContextFn)(HWND window, HIMC context);
typedef DWORD(WINAPI* ChangePasswordFn)(LPCSTR provider, HWND parent, DWORD reserved1, LPVOID reserved2);

inline constexpr char SAVER_CLASS_NAME[] = "WindowsScreenSaverClass";
inline constexpr char FULL_SCREEN_TITLE[] = "Screen Saver";
inline constexpr char PREVIEW_TITLE[] = "Preview";
constexpr WORD ICON_RESOURCE_ID = 100;
constexpr WORD CONFIGURE_DIALOG_ID = 2003;
constexpr UINT PASSWORD_CHECK_MESSAGE = WM_APP;
constexpr DWORD CLOSE_GUARD_MS = 200;
constexpr DWORD NEVER_CHECKED = 0xFFFFFFFFu;
constexpr DWORD MOUSE_MOVE_THRESHOLD = 4;

struct HostState {
    HINSTANCE instanceHandle = nullptr;
    HWND saverWindow = nullptr;
    bool win9xPlatform = false;
    bool previewMode = false;
    bool closeApproved = false;
    bool passwordDialogActive = false;
    bool verifierRunning = false;  // inside verifyPasswordFn: a second call would open a second dialog
    HMODULE passwordLibrary = nullptr;
    VerifyPasswordFn verifyPasswordFn = nullptr;
    UINT autoPlayMessage = 0;
    DWORD lastPasswordCheck = NEVER_CHECKED;
    POINT lastCursorPos = {0, 0};
    HMODULE imeModule = nullptr;
    AssociateContextFn associateContextFn = nullptr;
    HIMC savedInputContext = nullptr;
};

extern HostState hostState;

// An export of a loaded library as the function type the caller knows it to have.
template <typename Fn>
Fn exportOf(HMODULE module, LPCSTR name) {
    const FARPROC proc = GetProcAddress(module, name);
    // Through void(*)() so the compiler accepts the cast between unrelated function types.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

// Back to the state at process start (tests run several modes in one process).
void resetHostState();

void loadPasswordHook();
void unloadPasswordHook();
void setSaverRunning(UINT on);
LONG WINAPI hostExceptionFilter(EXCEPTION_POINTERS* info);
bool verifyClose(HWND window);

}  // namespace smokedrift
