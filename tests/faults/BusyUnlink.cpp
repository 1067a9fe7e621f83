// Preloaded into a program (LD_PRELOAD) to make its folder behave as an SMB share or a Windows
// disk does: a file that any process holds open cannot be removed (EBUSY) until it is closed.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
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

} // namespace

extern "C" int unlink(const char* path) {
    if (openAnywhere(AT_FDCWD, path)) {
        errno = EBUSY;
        return -1;
    }
    return real<int (*)(const char*)>("unlink")(path);
}

extern "C" int unlinkat(int dirfd, const char* path, int flags) {
    if (!(flags & AT_REMOVEDIR) && openAnywhere(dirfd, path)) {
        errno = EBUSY;
        return -1;
    }
    return real<int (*)(int, const char*, int)>("unlinkat")(dirfd, path, flags);
}

extern "C" int remove(const char* path) {
    if (openAnywhere(AT_FDCWD, path)) {
        errno = EBUSY;
        return -1;
    }
    return real<int (*)(const char*)>("remove")(path);
}
