/* A settings-dialog stand-in for preview tests: opens a window, starts the saver with
   "/p <its handle>", keeps the window until the file named by argv[2] appears, then destroys it and
   returns the saver's exit code.
   usage: preview_parent.exe SAVER STOPFILE [LOGFILE]
   exit: the saver's code; 100 no preview child appeared; 101 the saver did not end after the
   window was destroyed; 102 the saver could not be started. */
#include <stdio.h>
#include <windows.h>

static LRESULT CALLBACK parentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

static void pump(void) {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    FILE* log = argc > 3 ? fopen(argv[3], "a") : NULL;
    WNDCLASSA wc = {0};
    wc.lpfnWndProc = parentProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = "SmokedriftPreviewParent";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, wc.lpszClassName, "preview parent", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, NULL,
                                  NULL, wc.hInstance, NULL);
    pump();

    char command[1024];
    snprintf(command, sizeof command, "\"%s\" /p %lu", argv[1], (unsigned long)(ULONG_PTR)parent);
    STARTUPINFOA si = {0};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return 102;
    if (log) fprintf(log, "parent %lu\n", (unsigned long)(ULONG_PTR)parent), fflush(log);

    /* Wait for the preview window inside ours, then for the test's word to close. */
    int sawChild = 0;
    for (;;) {
        pump();
        if (!sawChild && FindWindowExA(parent, NULL, "WindowsScreenSaverClass", "Preview")) {
            sawChild = 1;
            if (log) fprintf(log, "child\n"), fflush(log);
        }
        if (GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES) break;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break; /* ended on its own */
        Sleep(50);
    }
    if (!sawChild) {
        TerminateProcess(pi.hProcess, 1);
        return 100;
    }
    DestroyWindow(parent);
    pump();
    if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        return 101;
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    if (log) fprintf(log, "saver exit %ld\n", (long)code), fclose(log);
    return (int)code;
}
