// Preloaded into a program (LD_PRELOAD) to make its folder behave as an SMB share or a Windows
// disk does: a file that any process holds open cannot be removed or renamed (EBUSY) until it is
// closed.
// An SMB client also closes a file on the server a moment after the program closed it (FUSE
// clients, smbnetfs among them, pass the close on without waiting): with DORVALIA_OPEN_MARKS
// naming a folder, a lock file (".lock") stays busy for kLingerMs after any process opened it,
// which the marks in that folder record.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <functional>
#include <limits.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isDigits(const char* s) {
    for (; *s; ++s)
        if (*s < '0' || *s > '9')
            return false;
    return true;
}

// Whether any process of this machine has path open, from the links in /proc/*/fd.
bool openAnywhere(int dirfd, const char* name) {
    char target[PATH_MAX];
    if (dirfd == AT_FDCWD || name[0] == '/') {
        if (!realpath(name, target))
            return false;
    } else {
        char dir[PATH_MAX], link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
        const ssize_t n = readlink(link, dir, sizeof dir - 1);
        if (n < 0)
            return false;
        dir[n] = 0;
        char joined[2 * PATH_MAX + 2];
        std::snprintf(joined, sizeof joined, "%s/%s", dir, name);
        if (!realpath(joined, target))
            return false;
    }
    DIR* procs = opendir("/proc");
    if (!procs)
        return false;
    bool found = false;
    while (dirent* p = readdir(procs)) {
        if (found || !isDigits(p->d_name))
            continue;
        char fdPath[300];
        std::snprintf(fdPath, sizeof fdPath, "/proc/%s/fd", p->d_name);
        DIR* fds = opendir(fdPath);
        if (!fds)
            continue;
        while (dirent* f = readdir(fds)) {
            char link[600], seen[PATH_MAX];
            std::snprintf(link, sizeof link, "%s/%s", fdPath, f->d_name);
            const ssize_t n = readlink(link, seen, sizeof seen - 1);
            if (n <= 0)
                continue;
            seen[n] = 0;
            if (std::strcmp(seen, target) == 0) {
                found = true;
                break;
            }
        }
        closedir(fds);
    }
    closedir(procs);
    return found;
}

template <typename F> F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

constexpr long kLingerMs = 20;

// The mark of a lock file's last opening: a file in DORVALIA_OPEN_MARKS named after its path.
bool markPath(int dirfd, const char* name, std::string& mark) {
    const char* marks = std::getenv("DORVALIA_OPEN_MARKS");
    const size_t length = std::strlen(name);
    if (!marks || length < 5 || std::strcmp(name + length - 5, ".lock") != 0)
        return false;
    std::string path = name;
    if (dirfd != AT_FDCWD && name[0] != '/') {
        char dir[PATH_MAX], link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
        const ssize_t n = readlink(link, dir, sizeof dir - 1);
        if (n < 0)
            return false;
        dir[n] = 0;
        path = std::string(dir) + '/' + name;
    }
    mark = std::string(marks) + '/' + std::to_string(std::hash<std::string>()(path));
    return true;
}

void markOpened(int dirfd, const char* name) {
    std::string mark;
    if (!markPath(dirfd, name, mark))
        return;
    const int fd = real<int (*)(const char*, int, ...)>("open")(
        mark.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        futimens(fd, nullptr);
        close(fd);
    }
}

bool openedLately(int dirfd, const char* name) {
    std::string mark;
    struct stat seen;
    if (!markPath(dirfd, name, mark) || stat(mark.c_str(), &seen) != 0)
        return false;
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const long ms =
        (now.tv_sec - seen.st_mtim.tv_sec) * 1000 + (now.tv_nsec - seen.st_mtim.tv_nsec) / 1000000;
    return ms < kLingerMs;
}

bool busy(int dirfd, const char* path) {
    return openedLately(dirfd, path) || openAnywhere(dirfd, path);
}

int openMode(int flags, va_list args) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, int) : 0;
}

} // namespace

extern "C" int unlink(const char* path) {
    if (busy(AT_FDCWD, path)) {
        errno = EBUSY;
        return -1;
    }
    return real<int (*)(const char*)>("unlink")(path);
}

extern "C" int unlinkat(int dirfd, const char* path, int flags) {
    if (!(flags & AT_REMOVEDIR) && busy(dirfd, path)) {
        errno = EBUSY;
        return -1;
    }
    return real<int (*)(int, const char*, int)>("unlinkat")(dirfd, path, flags);
}

extern "C" int remove(const char* path) {
    if (busy(AT_FDCWD, path)) {
        errno = EBUSY;
        return -1;
    }
    return real<int (*)(const char*)>("remove")(path);
}

extern "C" int rename(const char* from, const char* to) {
    if (busy(AT_FDCWD, from)) {
        errno = EBUSY;
        return -1;
    }
    return real<int (*)(const char*, const char*)>("rename")(from, to);
}

extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    if (busy(fromDir, from)) {
        errno = EBUSY;
        return -1;
    }
    return real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2")(
        fromDir, from, toDir, to, flags);
}

extern "C" int link(const char* from, const char* to) {
    if (busy(AT_FDCWD, from)) {
        errno = EBUSY;
        return -1;
    }
    return real<int (*)(const char*, const char*)>("link")(from, to);
}

#define DORVALIA_OPEN(name)                                                                        \
    extern "C" int name(const char* path, int flags, ...) {                                        \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        const int mode = openMode(flags, args);                                                    \
        va_end(args);                                                                              \
        const int fd = real<int (*)(const char*, int, ...)>(#name)(path, flags, mode);             \
        if (fd >= 0)                                                                               \
            markOpened(AT_FDCWD, path);                                                            \
        return fd;                                                                                 \
    }
#define DORVALIA_OPENAT(name)                                                                      \
    extern "C" int name(int dirfd, const char* path, int flags, ...) {                             \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        const int mode = openMode(flags, args);                                                    \
        va_end(args);                                                                              \
        const int fd = real<int (*)(int, const char*, int, ...)>(#name)(dirfd, path, flags, mode); \
        if (fd >= 0)                                                                               \
            markOpened(dirfd, path);                                                               \
        return fd;                                                                                 \
    }
DORVALIA_OPEN(open)
DORVALIA_OPEN(open64)
DORVALIA_OPENAT(openat)
DORVALIA_OPENAT(openat64)
