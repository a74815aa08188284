/* Preloaded into the saver by first_swap.sh: reports the wall-clock time of the first buffer swap. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

typedef void (*SwapFn)(void*, unsigned long);

void glXSwapBuffers(void* display, unsigned long drawable) {
    static SwapFn real;
    static int reported;
    if (!real) real = (SwapFn)dlsym(RTLD_NEXT, "glXSwapBuffers");
    real(display, drawable);
    if (!reported) {
        struct timespec ts;
        reported = 1;
        clock_gettime(CLOCK_REALTIME, &ts);
        fprintf(stderr, "first-swap-ns %lld\n", (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec);
    }
}
