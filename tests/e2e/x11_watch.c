/* Prints, one line each as they happen, how the X server saw top-level windows
   come to be: where and how large each was created, each move or resize, its
   mapping, and each write of its opacity property. The window tests read it
   to see whether a window was born at its final place or moved there, and
   whether its opacity was written again once it was on screen.

   With "--manage DELAY_MS" it is also the window manager, a strict one: it
   maps a window only DELAY_MS after being asked (as a compositing manager
   does once it has set the window up) and honours sizes but never a move, so
   a window stays where it was created.

   Usage: x11_watch [--manage DELAY_MS] (DISPLAY from the environment); ends
   when the server does. Lines: "ready", "create WINDOW X Y WIDTH HEIGHT",
   "configure WINDOW X Y WIDTH HEIGHT", "map WINDOW", "opacity WINDOW", with
   WINDOW in decimal. A change the root and the window itself both hear of
   comes twice. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

enum { kMaxPending = 64 };

struct TPending {
    Window window;
    double due; /* seconds, monotonic */
};

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static void Report(const XEvent* e, Window root, Atom opacity) {
    switch (e->type) {
    case CreateNotify:
        if (e->xcreatewindow.parent != root || e->xcreatewindow.override_redirect) break;
        printf("create %lu %d %d %d %d\n", e->xcreatewindow.window, e->xcreatewindow.x, e->xcreatewindow.y,
               e->xcreatewindow.width, e->xcreatewindow.height);
        break;
    case ConfigureNotify:
        printf("configure %lu %d %d %d %d\n", e->xconfigure.window, e->xconfigure.x, e->xconfigure.y,
               e->xconfigure.width, e->xconfigure.height);
        break;
    case MapNotify: printf("map %lu\n", e->xmap.window); break;
    case PropertyNotify:
        if (e->xproperty.atom == opacity) printf("opacity %lu\n", e->xproperty.window);
        break;
    default: break;
    }
    fflush(stdout);
}

int main(int argc, char** argv) {
    const int manage = argc == 3 && strcmp(argv[1], "--manage") == 0;
    const double delay = manage ? atof(argv[2]) / 1000.0 : 0.0;
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fputs("x11_watch: no X display\n", stderr);
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    const Atom opacity = XInternAtom(display, "_NET_WM_WINDOW_OPACITY", False);
    XSelectInput(display, root, SubstructureNotifyMask | (manage ? SubstructureRedirectMask : 0));
    XSync(display, False);
    puts("ready");
    fflush(stdout);

    struct TPending pending[kMaxPending];
    int count = 0;
    const int fd = ConnectionNumber(display);
    for (;;) {
        /* Windows whose time has come are mapped. */
        const double now = Now();
        for (int i = 0; i < count;) {
            if (pending[i].due > now) {
                ++i;
                continue;
            }
            XMapWindow(display, pending[i].window);
            pending[i] = pending[--count];
        }
        XFlush(display);
        if (!XPending(display)) {
            double wait = 1.0;
            for (int i = 0; i < count; ++i)
                if (pending[i].due - now < wait) wait = pending[i].due - now;
            if (wait < 0) wait = 0;
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(fd, &readable);
            struct timeval tv = {(time_t)wait, (suseconds_t)((wait - (double)(time_t)wait) * 1e6)};
            select(fd + 1, &readable, NULL, NULL, &tv);
            if (!XPending(display)) continue;
        }
        XEvent e;
        XNextEvent(display, &e);
        Report(&e, root, opacity);
        if (e.type == CreateNotify && e.xcreatewindow.parent == root && !e.xcreatewindow.override_redirect)
            /* From now on the window's own changes come too, also once a window manager has reparented it. */
            XSelectInput(display, e.xcreatewindow.window, StructureNotifyMask | PropertyChangeMask);
        if (!manage) continue;
        if (e.type == MapRequest && count < kMaxPending) {
            pending[count].window = e.xmaprequest.window;
            pending[count].due = Now() + delay;
            ++count;
        } else if (e.type == ConfigureRequest) {
            XWindowChanges changes;
            memset(&changes, 0, sizeof changes);
            changes.width = e.xconfigurerequest.width;
            changes.height = e.xconfigurerequest.height;
            changes.stack_mode = e.xconfigurerequest.detail;
            XConfigureWindow(display, e.xconfigurerequest.window,
                             (unsigned)(e.xconfigurerequest.value_mask & (CWWidth | CWHeight | CWStackMode)), &changes);
        }
    }
}
