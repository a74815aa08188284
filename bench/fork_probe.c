/* Preloaded into the idle watcher by bench/idle.sh: reports the wall-clock time of each process's
   first fork, which for the watcher is the moment it acts on the idle event (it forks the saver
   there and then). The saver inherits the preload; its own forks come later. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <sys/types.h>
#include <time.h>

typedef pid_t (*ForkFn)(void);

pid_t fork(void) {
    static ForkFn real;
    static int reported;
    if (!real) real = (ForkFn)dlsym(RTLD_NEXT, "fork");
    if (!reported) {
        reported = 1;
        struct timespec ts;
        clock_gettime(CLOCK_REALTIME, &ts);
        fprintf(stderr, "fork-ns %lld\n", (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec);
    }
    return real();
}
