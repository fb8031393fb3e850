// Counts a program's presents from outside it: preloaded (LD_PRELOAD), it logs a CLOCK_MONOTONIC
// timestamp for each call of the functions that show a frame, then calls the real one. Counting
// inside the process is reliable where perf's uprobes dropped whole runs.
//
// SKIMLARK_PRESENT_LOG names the file; each present appends a line "KIND NANOSECONDS", KIND being
//   S  SDL_GL_SwapWindow        (the OpenGL presentation)
//   X  XShmPutImage             (the picture shown through the X server's shared memory)
//   P  xcb_present_pixmap       (a present through the X Present extension)
// Only the outermost call of a thread is logged: a swap that puts its frame through MIT-SHM or
// the Present extension itself counts once. Lines are buffered and written every 0.2 s, when the
// buffer fills and at exit, so that a killed program still leaves all but its last moments.
//
// The prototypes are the libraries' own, spelled with plain types so that no development header
// is needed (an X resource ID is an unsigned long, an XCB cookie a struct of one unsigned int).
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdint.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#define EXPORT __attribute__((visibility("default")))

enum { kBufferBytes = 64 * 1024, kLineMax = 32 };
static const int64_t kFlushIntervalNs = 200 * 1000 * 1000;

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static int logFile = -1;
static char buffer[kBufferBytes];
static size_t buffered;
static int64_t lastFlushNs;
static __thread int presentDepth;

static int64_t MonotonicNs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
}

// Called with the lock held.
static void FlushLocked(void) {
    size_t written = 0;
    while (written < buffered) {
        const ssize_t n = write(logFile, buffer + written, buffered - written);
        if (n <= 0) {
            break;  // nowhere to write to: the counts are lost, the program goes on
        }
        written += (size_t)n;
    }
    buffered = 0;
}

static void Record(char kind, int64_t ns) {
    if (logFile < 0) {
        return;
    }
    char line[kLineMax];
    char digits[24];
    size_t count = 0;
    uint64_t value = (uint64_t)ns;
    do {
        digits[count++] = (char)('0' + value % 10);
        value /= 10;
    } while (value != 0);
    size_t length = 0;
    line[length++] = kind;
    line[length++] = ' ';
    while (count > 0) {
        line[length++] = digits[--count];
    }
    line[length++] = '\n';

    pthread_mutex_lock(&lock);
    if (buffered + length > sizeof buffer) {
        FlushLocked();
    }
    for (size_t i = 0; i < length; ++i) {
        buffer[buffered++] = line[i];
    }
    if (ns - lastFlushNs >= kFlushIntervalNs) {
        FlushLocked();
        lastFlushNs = ns;
    }
    pthread_mutex_unlock(&lock);
}

__attribute__((constructor)) static void OpenLog(void) {
    const char* path = getenv("SKIMLARK_PRESENT_LOG");
    if (path != NULL && path[0] != '\0') {
        // Appended to, never truncated: a child that inherits the preload adds to the same file.
        logFile = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
    lastFlushNs = MonotonicNs();
}

__attribute__((destructor)) static void CloseLog(void) {
    pthread_mutex_lock(&lock);
    if (logFile >= 0) {
        FlushLocked();
        close(logFile);
        logFile = -1;
    }
    pthread_mutex_unlock(&lock);
}

// The real function: the next definition after this library, or, for a library that was opened
// privately by another (as a GL driver opens its own), the one in that library if it is loaded.
static void* RealFunction(const char* name, const char* library) {
    void* function = dlsym(RTLD_NEXT, name);
    if (function == NULL) {
        void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
        if (handle != NULL) {
            function = dlsym(handle, name);
        }
    }
    if (function == NULL) {
        abort();  // called, so it exists somewhere; failing loudly beats a silent miscount
    }
    return function;
}

typedef void (*SwapWindowFunction)(void*);

EXPORT void SDL_GL_SwapWindow(void* window) {
    static SwapWindowFunction resolved;
    SwapWindowFunction real = __atomic_load_n(&resolved, __ATOMIC_ACQUIRE);
    if (real == NULL) {
        real = (SwapWindowFunction)RealFunction("SDL_GL_SwapWindow", "libSDL2-2.0.so.0");
        __atomic_store_n(&resolved, real, __ATOMIC_RELEASE);
    }
    ++presentDepth;
    real(window);
    --presentDepth;
    if (presentDepth == 0) {
        Record('S', MonotonicNs());
    }
}

typedef int (*ShmPutImageFunction)(void*, unsigned long, void*, void*, int, int, int, int,
                                   unsigned int, unsigned int, int);

EXPORT int XShmPutImage(void* display, unsigned long drawable, void* gc, void* image, int srcX,
                        int srcY, int dstX, int dstY, unsigned int width, unsigned int height,
                        int sendEvent) {
    static ShmPutImageFunction resolved;
    ShmPutImageFunction real = __atomic_load_n(&resolved, __ATOMIC_ACQUIRE);
    if (real == NULL) {
        real = (ShmPutImageFunction)RealFunction("XShmPutImage", "libXext.so.6");
        __atomic_store_n(&resolved, real, __ATOMIC_RELEASE);
    }
    ++presentDepth;
    const int result =
        real(display, drawable, gc, image, srcX, srcY, dstX, dstY, width, height, sendEvent);
    --presentDepth;
    if (presentDepth == 0) {
        Record('X', MonotonicNs());
    }
    return result;
}

typedef struct {
    unsigned int sequence;
} VoidCookie;

typedef VoidCookie (*PresentPixmapFunction)(void*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                            int16_t, int16_t, uint32_t, uint32_t, uint32_t,
                                            uint32_t, uint64_t, uint64_t, uint64_t, uint32_t,
                                            const void*);

EXPORT VoidCookie xcb_present_pixmap(void* connection, uint32_t window, uint32_t pixmap,
                                     uint32_t serial, uint32_t valid, uint32_t update, int16_t xOff,
                                     int16_t yOff, uint32_t targetCrtc, uint32_t waitFence,
                                     uint32_t idleFence, uint32_t options, uint64_t targetMsc,
                                     uint64_t divisor, uint64_t remainder, uint32_t notifiesLength,
                                     const void* notifies) {
    static PresentPixmapFunction resolved;
    PresentPixmapFunction real = __atomic_load_n(&resolved, __ATOMIC_ACQUIRE);
    if (real == NULL) {
        real = (PresentPixmapFunction)RealFunction("xcb_present_pixmap", "libxcb-present.so.0");
        __atomic_store_n(&resolved, real, __ATOMIC_RELEASE);
    }
    ++presentDepth;
    const VoidCookie cookie =
        real(connection, window, pixmap, serial, valid, update, xOff, yOff, targetCrtc, waitFence,
             idleFence, options, targetMsc, divisor, remainder, notifiesLength, notifies);
    --presentDepth;
    if (presentDepth == 0) {
        Record('P', MonotonicNs());
    }
    return cookie;
}
