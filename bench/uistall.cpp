// Starts a program and prints the longest time its UI thread left the window unanswered: from its
// first mapped top-level window on, a _NET_WM_PING is sent 5 ms after the last one was answered,
// and Qt answers each from its event loop, so the longest wait for an answer is the longest stall
// of that loop. Prints "<longest ms> <when, ms after the map>". Usage: uistall [--skip-ms N]
// [--for-ms N] -- program [args...]
//   --skip-ms: answers before this time after the map do not count (start-up), default 0
//   --for-ms:  how long to ping after the map, default 5000

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

namespace {

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void endChild(pid_t child) {
    kill(child, SIGTERM);
    for (int i = 0; i < 100 && waitpid(child, nullptr, WNOHANG) == 0; ++i) {
        usleep(20000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    double skipMs = 0;
    double forMs = 5000;
    int first = 1;
    while (first < argc && std::strcmp(argv[first], "--") != 0) {
        if (std::strcmp(argv[first], "--skip-ms") == 0 && first + 1 < argc) {
            skipMs = std::atof(argv[++first]);
        } else if (std::strcmp(argv[first], "--for-ms") == 0 && first + 1 < argc) {
            forMs = std::atof(argv[++first]);
        }
        ++first;
    }
    if (first + 1 >= argc) {
        std::fprintf(stderr, "usage: uistall [--skip-ms N] [--for-ms N] -- program [args...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "uistall: cannot open display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    // Answers go to the root window with the structure notify mask.
    XSelectInput(display, root, SubstructureNotifyMask | StructureNotifyMask);
    XSync(display, False);

    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[first + 1], argv + first + 1);
        _exit(127);
    }

    Window window = 0;
    std::chrono::steady_clock::time_point mapped;
    unsigned long sent = 0;  // serial of the ping waiting for its answer, 0 for none
    unsigned long serial = 0;
    double sentAt = 0;  // ms after the map
    double answeredAt = -5;
    double longest = -1;
    double longestAt = 0;
    const auto started = std::chrono::steady_clock::now();
    const int fd = ConnectionNumber(display);
    while (true) {
        if (window == 0 && msSince(started) > 30000) {
            std::fprintf(stderr, "uistall: no window within 30 s\n");
            endChild(child);
            return 1;
        }
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (window == 0 && event.type == MapNotify && !event.xmap.override_redirect &&
                belongsTo(display, event.xmap.window, pidAtom, child)) {
                window = event.xmap.window;
                mapped = std::chrono::steady_clock::now();
            } else if (event.type == ClientMessage && event.xclient.window == root &&
                       event.xclient.message_type == protocols &&
                       Atom(event.xclient.data.l[0]) == ping &&
                       static_cast<unsigned long>(event.xclient.data.l[1]) == sent && sent != 0) {
                const double now = msSince(mapped);
                if (now >= skipMs && now - sentAt > longest) {
                    longest = now - sentAt;
                    longestAt = sentAt;
                }
                sent = 0;
                answeredAt = now;
            }
        }
        if (window != 0) {
            const double now = msSince(mapped);
            if (now > forMs) {
                // A ping still unanswered at the end is a stall that lasts at least this long.
                if (sent != 0 && now - sentAt > longest) {
                    longest = now - sentAt;
                    longestAt = sentAt;
                }
                break;
            }
            if (sent == 0 && now - answeredAt >= 5) {
                XEvent message{};
                message.xclient.type = ClientMessage;
                message.xclient.window = window;
                message.xclient.message_type = protocols;
                message.xclient.format = 32;
                message.xclient.data.l[0] = long(ping);
                message.xclient.data.l[1] = long(++serial);  // in the timestamp's place
                message.xclient.data.l[2] = long(window);
                XSendEvent(display, window, False, NoEventMask, &message);
                XFlush(display);
                sent = serial;
                sentAt = now;
            }
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval tv{0, 5000};
        select(fd + 1, &fds, nullptr, nullptr, &tv);
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "uistall: program ended\n");
            XCloseDisplay(display);
            return 1;
        }
    }
    endChild(child);
    XCloseDisplay(display);
    if (longest < 0) {
        std::fprintf(stderr, "uistall: the window never answered a ping\n");
        return 1;
    }
    std::printf("%.1f %.0f\n", longest, longestAt);
    return 0;
}
