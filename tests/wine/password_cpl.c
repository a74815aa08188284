/* A password verifier for the Windows 95-family path. Each call is recorded in the file named by
   SMOKEDRIFT_TEST_LOG; the answer is read, at each call, from the file named by
   SMOKEDRIFT_TEST_ANSWER ("accept" accepts, anything else refuses), so a test can change its mind
   while the saver runs. */
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

__declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    const BOOL accept = answerIsAccept();
    const char* path = getenv("SMOKEDRIFT_TEST_LOG");
    FILE* f = path ? fopen(path, "a") : NULL;
    if (f) {
        fprintf(f, "verify %s\n", accept ? "accepted" : "refused");
        fclose(f);
    }
    (void)window;
    /* A real verifier shows a dialog for a while: input meanwhile must not close the saver. */
    Sleep(1500);
    return accept;
}
