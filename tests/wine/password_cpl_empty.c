/* A PASSWORD.CPL that loads but lacks the verifier export. */
#include <windows.h>

__declspec(dllexport) int WINAPI SomethingElse(void) { return 0; }
