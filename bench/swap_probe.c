/* Preloaded into the saver by the bench scripts: reports the wall-clock time of the first buffer
   swap, then the running count of swaps every 10 (the saver ends with _exit, so nothing can be
   printed at exit). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

typedef void (*SwapFn)(void*, unsigned long);
typedef unsigned (*EglSwapFn)(void*, void*);

static void counted(void) {
    static long swaps;
    if (++swaps == 1) {
        struct timespec ts;
        clock_gettime(CLOCK_REALTIME, &ts);
        fprintf(stderr, "first-swap-ns %lld\n", (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec);
    } else if (swaps % 10 == 0) {
        fprintf(stderr, "swaps %ld\n", swaps);
    }
}

void glXSwapBuffers(void* display, unsigned long drawable) {
    static SwapFn real;
    if (!real) real = (SwapFn)dlsym(RTLD_NEXT, "glXSwapBuffers");
    real(display, drawable);
    counted();
}

/* The Wayland backend's swaps. */
unsigned eglSwapBuffers(void* display, void* surface) {
    static EglSwapFn real;
    if (!real) real = (EglSwapFn)dlsym(RTLD_NEXT, "eglSwapBuffers");
    const unsigned swapped = real(display, surface);
    counted();
    return swapped;
}
