#pragma once
// Finding a process's top-level window under Xvfb, for the bench helpers that watch a program's
// window.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <sys/types.h>

inline long windowPid(Display* display, Window window, Atom pidAtom) {
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
inline bool belongsTo(Display* display, Window window, Atom pidAtom, pid_t child) {
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
