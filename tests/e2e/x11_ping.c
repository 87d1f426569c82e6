/* Stands in for every other program on the desktop: asks the X server for a
   round trip every few milliseconds and reports how long the longest one
   waited, so a test sees the server stand still while another client works.

   Usage: x11_ping (DISPLAY from the environment). Prints "ready" once
   connected, then "longest MS" (whole milliseconds) each time the longest
   wait so far grows by at least kReportStepMs, also while a reply is still
   outstanding, so a stall shows before it ends. Ends when the server does. */
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

/* Often enough to catch a short stall, rarely enough to cost the server nothing. */
enum { kPauseMs = 5, kReportStepMs = 10, kWaitSliceMs = 10 };

static double NowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1000.0 + (double)t.tv_nsec / 1e6;
}

static double reported = 0;

static void Note(double waited) {
    if (waited < reported + kReportStepMs) return;
    reported = waited;
    printf("longest %.0f\n", waited);
    fflush(stdout);
}

int main(void) {
    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) {
        fputs("x11_ping: no X display\n", stderr);
        return 1;
    }
    puts("ready");
    fflush(stdout);
    struct pollfd fd = {xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        const xcb_get_input_focus_cookie_t cookie = xcb_get_input_focus(c);
        xcb_flush(c);
        const double start = NowMs();
        for (;;) {
            void* reply = NULL;
            xcb_generic_error_t* error = NULL;
            const int done = xcb_poll_for_reply(c, cookie.sequence, &reply, &error);
            free(reply);
            free(error);
            if (done) break;
            if (xcb_connection_has_error(c)) return 0;
            Note(NowMs() - start);
            /* Events we never asked for may also wake us; they are dropped. */
            if (poll(&fd, 1, kWaitSliceMs) > 0) {
                xcb_generic_event_t* event;
                while ((event = xcb_poll_for_event(c)) != NULL) free(event);
            }
        }
        Note(NowMs() - start);
        const struct timespec pause = {0, kPauseMs * 1000000L};
        nanosleep(&pause, NULL);
    }
}
