// Starts a program and prints the milliseconds until its first top-level window is mapped.
// Listens for MapNotify on the root window (under Xvfb there is no window manager, so top-level
// windows are the root's children) and matches the window to the process by _NET_WM_PID.
// Usage: mapwait [--timeout-ms N] -- program [args...]

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "X11Windows.h"

int main(int argc, char** argv) {
    long timeoutMs = 30000;
    int first = 1;
    while (first < argc && std::strcmp(argv[first], "--") != 0) {
        if (std::strcmp(argv[first], "--timeout-ms") == 0 && first + 1 < argc) {
            timeoutMs = std::atol(argv[++first]);
        }
        ++first;
    }
    if (first + 1 >= argc) {
        std::fprintf(stderr, "usage: mapwait [--timeout-ms N] -- program [args...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "mapwait: cannot open display\n");
        return 2;
    }
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[first + 1], argv + first + 1);
        _exit(127);
    }

    const int fd = ConnectionNumber(display);
    long elapsedMs = -1;
    while (elapsedMs < 0) {
        const long waited = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::steady_clock::now() - start)
                                                  .count());
        if (waited > timeoutMs) {
            break;
        }
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect &&
                belongsTo(display, event.xmap.window, pidAtom, child)) {
                elapsedMs = static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                                  std::chrono::steady_clock::now() - start)
                                                  .count() /
                                              1000);
                break;
            }
        }
        if (elapsedMs >= 0) {
            break;
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval tv{0, 20000};
        select(fd + 1, &fds, nullptr, nullptr, &tv);
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "mapwait: program ended before mapping a window\n");
            XCloseDisplay(display);
            return 1;
        }
    }
    kill(child, SIGTERM);
    for (int i = 0; i < 100 && waitpid(child, nullptr, WNOHANG) == 0; ++i) {
        usleep(20000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (elapsedMs < 0) {
        std::fprintf(stderr, "mapwait: no window within %ld ms\n", timeoutMs);
        return 1;
    }
    std::printf("%ld\n", elapsedMs);
    return 0;
}
