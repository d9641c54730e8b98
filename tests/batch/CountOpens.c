/* Preloaded into a batch run by ReadsOnce.cmake: counts the opens for reading of the files
 * whose names (last components, up to four, separated by ":") CALDREN_COUNT_OPENS gives, and
 * writes the counts ("1 1 0 0") to the file CALDREN_COUNT_OUT names when the process ends. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int g_count[4];

static void Note(const char* path, int flags) {
    const char* watched = getenv("CALDREN_COUNT_OPENS");
    if (!watched || !path || (flags & O_ACCMODE) != O_RDONLY) return;
    const char* base = strrchr(path, '/');
    base = base ? base + 1 : path;
    for (int i = 0; i < 4; ++i) {
        const char* end = strchr(watched, ':');
        const size_t n = end ? (size_t)(end - watched) : strlen(watched);
        if (n == strlen(base) && strncmp(watched, base, n) == 0) ++g_count[i];
        if (!end) break;
        watched = end + 1;
    }
}

typedef int (*OpenFn)(const char*, int, ...);
typedef int (*OpenAtFn)(int, const char*, int, ...);
typedef FILE* (*FopenFn)(const char*, const char*);

#define MODE_ARG(flags, mode)                  \
    do {                                       \
        if ((flags) & (O_CREAT | O_TMPFILE)) { \
            va_list ap;                        \
            va_start(ap, flags);               \
            mode = va_arg(ap, int);            \
            va_end(ap);                        \
        }                                      \
    } while (0)

int open(const char* path, int flags, ...) {
    int mode = 0;
    MODE_ARG(flags, mode);
    Note(path, flags);
    return ((OpenFn)dlsym(RTLD_NEXT, "open"))(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    int mode = 0;
    MODE_ARG(flags, mode);
    Note(path, flags);
    return ((OpenFn)dlsym(RTLD_NEXT, "open64"))(path, flags, mode);
}

int openat(int dir, const char* path, int flags, ...) {
    int mode = 0;
    MODE_ARG(flags, mode);
    Note(path, flags);
    return ((OpenAtFn)dlsym(RTLD_NEXT, "openat"))(dir, path, flags, mode);
}

FILE* fopen(const char* path, const char* how) {
    Note(path, how && how[0] == 'r' && !strchr(how, '+') ? O_RDONLY : O_RDWR);
    return ((FopenFn)dlsym(RTLD_NEXT, "fopen"))(path, how);
}

__attribute__((destructor)) static void Report(void) {
    const char* out = getenv("CALDREN_COUNT_OUT");
    FILE* f = out ? ((FopenFn)dlsym(RTLD_NEXT, "fopen"))(out, "w") : NULL;
    if (f) {
        fprintf(f, "%d %d %d %d", g_count[0], g_count[1], g_count[2], g_count[3]);
        fclose(f);
    }
}
