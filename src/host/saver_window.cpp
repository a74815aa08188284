// The saver window: class, creation, message loop and the host's share of its procedure.
#include "host/host_state.h"
#include "host/saver_host.h"

namespace smokedrift {

namespace {

constexpr UINT CLASS_STYLE = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
constexpr DWORD PREVIEW_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr DWORD FULL_SCREEN_STYLE = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

void detachInputContext(HWND window) {
    hostState.imeModule = GetModuleHandleA("IMM32.DLL");
    if (hostState.imeModule == nullptr) return;
    hostState.associateContextFn = exportOf<AssociateContextFn>(hostState.imeModule, "ImmAssociateContext");
    if (hostState.associateContextFn == nullptr) return;
    hostState.savedInputContext = hostState.associateContextFn(window, nullptr);
}

void restoreInputContext(HWND window) {
    if (hostState.imeModule && hostState.associateContextFn && hostState.savedInputContext) {
        hostState.associateContextFn(window, hostState.savedInputContext);
    }
}

}  // namespace

int runSaver(HWND parent) {
    WNDCLASSA windowClass = {};
    windowClass.style = CLASS_STYLE;
    windowClass.lpfnWndProc = &saverWindowProc;
    windowClass.hInstance = hostState.instanceHandle;
    windowClass.hIcon = LoadIconA(hostState.instanceHandle, MAKEINTRESOURCEA(ICON_RESOURCE_ID));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = SAVER_CLASS_NAME;

    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    LPCSTR title = nullptr;
    if (parent != nullptr) {
        RECT client = {};
        GetClientRect(parent, &client);
        width = client.right;
        height = client.bottom;
        style = PREVIEW_STYLE;
        title = PREVIEW_TITLE;
        hostState.previewMode = true;
    } else {
        RECT screen = {};
        const HDC screenDc = GetDC(nullptr);
        GetClipBox(screenDc, &screen);
        ReleaseDC(nullptr, screenDc);
        x = screen.left;
        y = screen.top;
        width = screen.right - screen.left;
        height = screen.bottom - screen.top;
        style = FULL_SCREEN_STYLE;
        exStyle = WS_EX_TOPMOST;
        title = FULL_SCREEN_TITLE;
        const HWND running = FindWindowA(SAVER_CLASS_NAME, FULL_SCREEN_TITLE);
        if (running != nullptr && IsWindow(running)) {
            SetForegroundWindow(running);
            return 0;
        }
        loadPasswordHook();
    }

    hostState.autoPlayMessage = hostState.win9xPlatform ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    if (RegisterClassA(&windowClass) != 0) {
        hostState.saverWindow = CreateWindowExA(exStyle, SAVER_CLASS_NAME, title, style, x, y, width, height, parent,
                                                nullptr, hostState.instanceHandle, nullptr);
    }
    // Without a window no loop runs and there is no quit code to return.
    int result = MODE_FAILED;
    if (hostState.saverWindow != nullptr) {
        if (parent == nullptr) SetForegroundWindow(hostState.saverWindow);
        MSG msg = {};
        while (GetMessageA(&msg, nullptr, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        result = static_cast<int>(msg.wParam);
    }
    unloadPasswordHook();
    return result;
}

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        detachInputContext(window);
        GetCursorPos(&hostState.lastCursorPos);
        if (!hostState.previewMode) SetCursor(nullptr);
        break;
    case WM_DESTROY:
        restoreInputContext(window);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT: return 0;
    case WM_PAINT:
        if (hostState.closeApproved) return DefWindowProcA(window, message, wParam, lParam);
        if (!hostState.previewMode) SetCursor(nullptr);
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (hostState.previewMode) {
            const HWND parent = GetParent(window);
            if (parent != nullptr && IsWindow(parent)) {
                PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
            }
            return 1;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        if (hostState.closeApproved) return DefWindowProcA(window, message, wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        if (!hostState.previewMode && (wParam == SC_NEXTWINDOW || wParam == SC_PREVWINDOW || wParam == SC_SCREENSAVE)) {
            return 0;
        }
        break;
    case WM_TIMER:
        if (hostState.closeApproved) return 0;
        Sleep(0);
        break;
    default: break;
    }
    return saverProc(window, message, wParam, lParam);
}

}  // namespace smokedrift
