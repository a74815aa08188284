/* Preloaded into the saver by e2e tests: keeps the number of buffer swaps so far in the file
   named by SMOKEDRIFT_SWAP_COUNT, rewritten in place after every swap, so a test can see whether
   frames are being drawn. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

typedef void (*SwapFn)(void*, unsigned long);

void glXSwapBuffers(void* display, unsigned long drawable) {
    static SwapFn real;
    static long swaps;
    static int fd = -1;
    if (!real) real = (SwapFn)dlsym(RTLD_NEXT, "glXSwapBuffers");
    real(display, drawable);
    if (fd < 0) {
        const char* path = getenv("SMOKEDRIFT_SWAP_COUNT");
        if (path == NULL) return;
        fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return;
    }
    char line[24];
    const int n = snprintf(line, sizeof line, "%020ld\n", ++swaps);
    if (pwrite(fd, line, (size_t)n, 0) != n) return;
}
