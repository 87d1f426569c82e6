/* Input for the end-to-end tests on a headless KWin, which has no input
 * devices of its own: a client of KWin's fake input, driven by lines on its
 * input, each answered with "ok" once KWin has taken it:
 *   move X Y    the pointer to (X, Y) in the layout
 *   down, up    the left button
 *   rdown, rup  the right button
 *   wheel N     N wheel notches, positive towards the user
 *   key CODE    an evdev key code pressed and released
 *   keydown CODE, keyup CODE
 * It prints "input" once KWin has offered the interface. */
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <wayland-client.h>

#include "fake-input-client-protocol.h"

/* KWin's axis units for one notch of a wheel. */
#define AXIS_PER_NOTCH 15
/* The version that brings absolute motion and keys. */
#define FAKE_INPUT_VERSION 4

static struct org_kde_kwin_fake_input* input;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= FAKE_INPUT_VERSION)
        input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, FAKE_INPUT_VERSION);
}
static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data, (void)registry, (void)name;
}
static const struct wl_registry_listener registry_listener = {global, global_remove};

static void button(uint32_t code, int pressed) {
    org_kde_kwin_fake_input_button(input, code, pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
}

static void key(uint32_t code, int pressed) {
    org_kde_kwin_fake_input_keyboard_key(input, code, pressed ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
}

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) return 1;
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!input) return 1;
    org_kde_kwin_fake_input_authenticate(input, "ratiscope-e2e", "end-to-end tests");
    wl_display_roundtrip(display);
    printf("input\n");
    fflush(stdout);
    char line[128];
    while (fgets(line, sizeof line, stdin)) {
        int x, y, n;
        unsigned code;
        if (sscanf(line, "move %d %d", &x, &y) == 2) {
            org_kde_kwin_fake_input_pointer_motion_absolute(input, wl_fixed_from_int(x), wl_fixed_from_int(y));
        } else if (strcmp(line, "down\n") == 0 || strcmp(line, "up\n") == 0) {
            button(BTN_LEFT, line[0] == 'd');
        } else if (strcmp(line, "rdown\n") == 0 || strcmp(line, "rup\n") == 0) {
            button(BTN_RIGHT, line[1] == 'd');
        } else if (sscanf(line, "wheel %d", &n) == 1) {
            org_kde_kwin_fake_input_axis(input, WL_POINTER_AXIS_VERTICAL_SCROLL, wl_fixed_from_int(AXIS_PER_NOTCH * n));
        } else if (sscanf(line, "keydown %u", &code) == 1) {
            key(code, 1);
        } else if (sscanf(line, "keyup %u", &code) == 1) {
            key(code, 0);
        } else if (sscanf(line, "key %u", &code) == 1) {
            key(code, 1);
            wl_display_roundtrip(display);
            key(code, 0);
        } else {
            printf("unknown\n");
            fflush(stdout);
            continue;
        }
        if (wl_display_roundtrip(display) < 0) return 1;
        printf("ok\n");
        fflush(stdout);
    }
    return 0;
}
