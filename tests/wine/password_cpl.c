/* A password verifier for the Windows 95-family path. Each call is recorded in the file named by
   SMOKEDRIFT_TEST_LOG; the answer is read, at each call, from the file named by
   SMOKEDRIFT_TEST_ANSWER ("accept" accepts, anything else refuses), so a test can change its mind
   while the saver runs. While it "shows its dialog" it runs a message loop, as a real dialog does,
   so input reaches the saver's window meanwhile; a call while another is running is logged as
   "verify nested". */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static BOOL answerIsAccept(void) {
    const char* path = getenv("SMOKEDRIFT_TEST_ANSWER");
    char word[16] = {0};
    FILE* f = path ? fopen(path, "r") : NULL;
    if (f) {
        if (!fgets(word, sizeof word, f)) word[0] = 0;
        fclose(f);
    }
    return strncmp(word, "accept", 6) == 0;
}

static void logLine(const char* line) {
    const char* path = getenv("SMOKEDRIFT_TEST_LOG");
    FILE* f = path ? fopen(path, "a") : NULL;
    if (f) {
        fprintf(f, "%s\n", line);
        fclose(f);
    }
}

static int running = 0;

__declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    const BOOL accept = answerIsAccept();
    if (running) logLine("verify nested");
    ++running;
    logLine(accept ? "verify accepted" : "verify refused");
    (void)window;
    /* A real verifier shows a dialog for a while, dispatching what arrives: input meanwhile must
       not close the saver nor open a second dialog. */
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 1500) {
        /* One at a time: the saver's frame timer is due again after every frame. */
        MSG msg;
        if (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            Sleep(10);
        }
    }
    --running;
    logLine("verify done");
    return accept;
}
