// Preloaded into a process under test: counts the writing calls on files below the folders in
// MARLO_KILL_WATCH (colon-separated) and, at the MARLO_KILL_AT-th, lets the call finish and
// kills the process with SIGKILL. With MARLO_KILL_COUNT set, the number of calls seen is
// written to that file at a normal exit.

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>

namespace {

std::atomic<long> seen{0};
long killAt = -1;
char watch[8][512];
int watchCount = 0;

template <typename F>
F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

bool watchedPath(const char* path) {
    if (path == nullptr) {
        return false;
    }
    char absolute[1024];
    if (path[0] != '/') {
        if (getcwd(absolute, sizeof absolute - 256) == nullptr) {
            return false;
        }
        strncat(absolute, "/", sizeof absolute - strlen(absolute) - 1);
        strncat(absolute, path, sizeof absolute - strlen(absolute) - 1);
        path = absolute;
    }
    for (int i = 0; i < watchCount; ++i) {
        if (strncmp(path, watch[i], strlen(watch[i])) == 0) {
            return true;
        }
    }
    return false;
}

bool watchedFd(int fd) {
    if (watchCount == 0 || fd < 0) {
        return false;
    }
    char link[64];
    char target[1024];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, target, sizeof target - 1);
    if (n <= 0) {
        return false;
    }
    target[n] = '\0';
    return watchedPath(target);
}

// Called after the real call returned.
void count(bool watched) {
    if (!watched) {
        return;
    }
    if (++seen == killAt) {
        syscall(SYS_kill, getpid(), SIGKILL);
    }
}

__attribute__((constructor)) void start() {
    const char* at = getenv("MARLO_KILL_AT");
    killAt = at != nullptr ? atol(at) : -1;
    const char* folders = getenv("MARLO_KILL_WATCH");
    if (folders == nullptr) {
        return;
    }
    const char* p = folders;
    while (*p != '\0' && watchCount < 8) {
        const char* end = strchr(p, ':');
        const size_t len = end != nullptr ? size_t(end - p) : strlen(p);
        if (len > 0 && len < sizeof watch[0]) {
            memcpy(watch[watchCount], p, len);
            watch[watchCount][len] = '\0';
            ++watchCount;
        }
        p += len;
        if (*p == ':') {
            ++p;
        }
    }
}

__attribute__((destructor)) void finish() {
    const char* file = getenv("MARLO_KILL_COUNT");
    if (file == nullptr) {
        return;
    }
    char text[32];
    const int len = snprintf(text, sizeof text, "%ld\n", seen.load());
    const int fd = static_cast<int>(syscall(SYS_open, file, O_WRONLY | O_CREAT | O_TRUNC, 0644));
    if (fd >= 0) {
        syscall(SYS_write, fd, text, len);
        syscall(SYS_close, fd);
    }
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* buf, size_t n) {
    static auto next = real<ssize_t (*)(int, const void*, size_t)>("write");
    const bool watched = watchedFd(fd);
    const ssize_t r = next(fd, buf, n);
    count(watched);
    return r;
}

ssize_t writev(int fd, const struct iovec* iov, int n) {
    static auto next = real<ssize_t (*)(int, const struct iovec*, int)>("writev");
    const bool watched = watchedFd(fd);
    const ssize_t r = next(fd, iov, n);
    count(watched);
    return r;
}

ssize_t pwrite64(int fd, const void* buf, size_t n, off64_t at) {
    static auto next = real<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    const bool watched = watchedFd(fd);
    const ssize_t r = next(fd, buf, n, at);
    count(watched);
    return r;
}

// Stdio writes reach the file only when the buffer is handed on: fwrite counts when its call
// emptied the buffer (glibc's write pointer is not where the bytes would have left it), and
// fflush when something was pending.
size_t fwrite(const void* buf, size_t size, size_t n, FILE* f) {
    static auto next = real<size_t (*)(const void*, size_t, size_t, FILE*)>("fwrite");
    const bool watched = watchedFd(fileno(f));
    const char* before = f->_IO_write_ptr;
    const size_t r = next(buf, size, n, f);
    count(watched && (before == nullptr || f->_IO_write_ptr != before + size * r));
    return r;
}

int fflush(FILE* f) {
    static auto next = real<int (*)(FILE*)>("fflush");
    const bool watched =
        f != nullptr && f->_IO_write_ptr > f->_IO_write_base && watchedFd(fileno(f));
    const int r = next(f);
    count(watched);
    return r;
}

// The pending bytes are one write, the close another.
int fclose(FILE* f) {
    static auto next = real<int (*)(FILE*)>("fclose");
    static auto flush = real<int (*)(FILE*)>("fflush");
    const bool watched = watchedFd(fileno(f));
    if (watched && f->_IO_write_ptr > f->_IO_write_base) {
        flush(f);
        count(true);
    }
    const int r = next(f);
    count(watched);
    return r;
}

int close(int fd) {
    static auto next = real<int (*)(int)>("close");
    const bool watched = watchedFd(fd);
    const int r = next(fd);
    count(watched);
    return r;
}

int fsync(int fd) {
    static auto next = real<int (*)(int)>("fsync");
    const bool watched = watchedFd(fd);
    const int r = next(fd);
    count(watched);
    return r;
}

int fdatasync(int fd) {
    static auto next = real<int (*)(int)>("fdatasync");
    const bool watched = watchedFd(fd);
    const int r = next(fd);
    count(watched);
    return r;
}

ssize_t pwrite(int fd, const void* buf, size_t n, off_t at) {
    static auto next = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    const bool watched = watchedFd(fd);
    const ssize_t r = next(fd, buf, n, at);
    count(watched);
    return r;
}

int ftruncate(int fd, off_t length) {
    static auto next = real<int (*)(int, off_t)>("ftruncate");
    const bool watched = watchedFd(fd);
    const int r = next(fd, length);
    count(watched);
    return r;
}

int ftruncate64(int fd, off64_t length) {
    static auto next = real<int (*)(int, off64_t)>("ftruncate64");
    const bool watched = watchedFd(fd);
    const int r = next(fd, length);
    count(watched);
    return r;
}

int rename(const char* from, const char* to) {
    static auto next = real<int (*)(const char*, const char*)>("rename");
    const bool watched = watchedPath(to);
    const int r = next(from, to);
    count(watched);
    return r;
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    static auto next = real<int (*)(int, const char*, int, const char*)>("renameat");
    const bool watched = watchedPath(to) || watchedFd(toDir);
    const int r = next(fromDir, from, toDir, to);
    count(watched);
    return r;
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    static auto next = real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    const bool watched = watchedPath(to) || watchedFd(toDir);
    const int r = next(fromDir, from, toDir, to, flags);
    count(watched);
    return r;
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    static auto next = real<int (*)(int, const char*, int, const char*, int)>("linkat");
    const bool watched = watchedPath(to) || watchedFd(toDir);
    const int r = next(fromDir, from, toDir, to, flags);
    count(watched);
    return r;
}

int unlink(const char* path) {
    static auto next = real<int (*)(const char*)>("unlink");
    const bool watched = watchedPath(path);
    const int r = next(path);
    count(watched);
    return r;
}

int remove(const char* path) {
    static auto next = real<int (*)(const char*)>("remove");
    const bool watched = watchedPath(path);
    const int r = next(path);
    count(watched);
    return r;
}

}  // extern "C"
