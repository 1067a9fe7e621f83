// Preloaded into the programs of a class (LD_PRELOAD) to play the faults of a share between
// computers that disagree, from the environment:
// - byte-range locks exclude nobody (fcntl's locks succeed and do nothing), as where a client
//   does not pass them to the server;
// - DORVALIA_CLOCK_AHEAD_S: this computer's clock runs that many seconds ahead (time, gettimeofday,
//   clock_gettime's real-time clocks); file times stay the server's;
// - DORVALIA_SLOW_FOLDER and DORVALIA_WRITE_DELAY_US: every write and sync of a file in that folder
//   waits that long first, as on a network;
// - DORVALIA_LOCK_PAUSE_US: the removal or move of a lock file (".lock") waits that long first: the
//   time between looking at a lock and removing it, or a removal that comes late.
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/time.h>
#include <unistd.h>

namespace {

template <typename F> F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

long envNumber(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::atol(value) : 0;
}

bool endsWith(const char* s, const char* end) {
    const size_t n = std::strlen(s), m = std::strlen(end);
    return n >= m && std::strcmp(s + n - m, end) == 0;
}

void pauseUs(const char* name) {
    if (const long us = envNumber(name); us > 0)
        usleep(useconds_t(us));
}

void pauseForLock(const char* path) {
    if (path && endsWith(path, ".lock"))
        pauseUs("DORVALIA_LOCK_PAUSE_US");
}

void pauseForWrite(int fd) {
    const char* folder = std::getenv("DORVALIA_SLOW_FOLDER");
    if (!folder || !*folder)
        return;
    char link[64], target[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return;
    target[n] = 0;
    if (std::strncmp(target, folder, std::strlen(folder)) == 0)
        pauseUs("DORVALIA_WRITE_DELAY_US");
}

bool isRealTime(clockid_t clock) {
    return clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE;
}

bool isLockCommand(int cmd) {
#ifdef F_OFD_SETLK
    if (cmd == F_OFD_SETLK || cmd == F_OFD_SETLKW)
        return true;
#endif
    return cmd == F_SETLK || cmd == F_SETLKW;
}

bool isLockQuery(int cmd) {
#ifdef F_OFD_GETLK
    if (cmd == F_OFD_GETLK)
        return true;
#endif
    return cmd == F_GETLK;
}

int fakeFcntl(int fd, int cmd, void* arg) {
    if (isLockCommand(cmd))
        return 0;
    if (isLockQuery(cmd)) {
        static_cast<struct flock*>(arg)->l_type = F_UNLCK;
        return 0;
    }
    return real<int (*)(int, int, void*)>("fcntl")(fd, cmd, arg);
}

} // namespace

extern "C" int clock_gettime(clockid_t clock, struct timespec* ts) {
    const int result = real<int (*)(clockid_t, struct timespec*)>("clock_gettime")(clock, ts);
    if (result == 0 && isRealTime(clock))
        ts->tv_sec += envNumber("DORVALIA_CLOCK_AHEAD_S");
    return result;
}

extern "C" int gettimeofday(struct timeval* tv, void* tz) {
    const int result = real<int (*)(struct timeval*, void*)>("gettimeofday")(tv, tz);
    if (result == 0)
        tv->tv_sec += envNumber("DORVALIA_CLOCK_AHEAD_S");
    return result;
}

extern "C" time_t time(time_t* out) {
    const time_t now =
        real<time_t (*)(time_t*)>("time")(nullptr) + envNumber("DORVALIA_CLOCK_AHEAD_S");
    if (out)
        *out = now;
    return now;
}

extern "C" int fcntl(int fd, int cmd, ...) {
    va_list args;
    va_start(args, cmd);
    void* arg = va_arg(args, void*);
    va_end(args);
    return fakeFcntl(fd, cmd, arg);
}

extern "C" ssize_t write(int fd, const void* bytes, size_t n) {
    pauseForWrite(fd);
    return real<ssize_t (*)(int, const void*, size_t)>("write")(fd, bytes, n);
}

extern "C" int fsync(int fd) {
    pauseForWrite(fd);
    return real<int (*)(int)>("fsync")(fd);
}

extern "C" int unlink(const char* path) {
    pauseForLock(path);
    return real<int (*)(const char*)>("unlink")(path);
}

extern "C" int rename(const char* from, const char* to) {
    pauseForLock(from);
    return real<int (*)(const char*, const char*)>("rename")(from, to);
}
