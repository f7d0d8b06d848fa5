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

namespace {

long windowPid(Display* display, Window window, Atom pidAtom) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
        if (format == 32 && count == 1) {
            pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
        }
        XFree(data);
    }
    return pid;
}

// Qt and GTK map their top-level window as a child of the root; some toolkits wrap it in a
// parent first, so look one level down as well.
bool belongsTo(Display* display, Window window, Atom pidAtom, pid_t child) {
    if (windowPid(display, window, pidAtom) == child) {
        return true;
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int n = 0;
    bool found = false;
    if (XQueryTree(display, window, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && !found; ++i) {
            found = windowPid(display, children[i], pidAtom) == child;
        }
        if (children != nullptr) {
            XFree(children);
        }
    }
    return found;
}

}  // namespace

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
