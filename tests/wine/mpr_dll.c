/* Stands in for the system's password changer, recording the call in SMOKEDRIFT_TEST_LOG. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

__declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND parent, DWORD a, LPVOID b) {
    const char* path = getenv("SMOKEDRIFT_TEST_LOG");
    if (path) {
        FILE* f = fopen(path, "a");
        if (f) {
            fprintf(f, "change %s %s\n", provider ? provider : "(null)", parent ? "parent" : "no-parent");
            fclose(f);
        }
    }
    (void)a;
    (void)b;
    return 0;
}
