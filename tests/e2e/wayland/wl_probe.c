/* Two small native Wayland clients for the end-to-end tests of the overlay on
 * a headless compositor, which has no input devices and no windows of its own:
 *   wl_probe window RRGGBB [fullscreen]
 *                           -- a plain window of one colour that prints every
 *                              pointer press it receives ("press X Y") and
 *                              every key pressed while it has the keyboard
 *                              ("key CODE"), asking to be fullscreen if told
 *   wl_probe pointer W H    -- a virtual pointer on a W x H desktop, driven by
 *                              lines on its input: "move X Y", "down", "up",
 *                              "wheel N" (notches, positive towards the user),
 *                              "extent W H" (the desktop's new size);
 *                              each line is answered with "ok" once sent */
#define _GNU_SOURCE
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include <wayland-client.h>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

static struct wl_compositor* compositor;
static struct wl_shm* shm;
static struct wl_seat* seat;
static struct xdg_wm_base* wm_base;
static struct zwlr_virtual_pointer_manager_v1* pointer_manager;
static struct wl_surface* surface;
static struct wl_buffer* buffer;
static uint32_t colour;
static int width, height, configured;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, wl_compositor_interface.name) == 0)
        compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 4);
    else if (strcmp(interface, wl_shm_interface.name) == 0)
        shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    else if (strcmp(interface, wl_seat_interface.name) == 0)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, xdg_wm_base_interface.name) == 0)
        wm_base = wl_registry_bind(registry, name, &xdg_wm_base_interface, 1);
    else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        pointer_manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
}
static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data, (void)registry, (void)name;
}
static const struct wl_registry_listener registry_listener = {global, global_remove};

static void ping(void* data, struct xdg_wm_base* base, uint32_t serial) {
    (void)data;
    xdg_wm_base_pong(base, serial);
}
static const struct xdg_wm_base_listener wm_base_listener = {ping};

/* A buffer of the window's size in its one colour. */
static struct wl_buffer* solid_buffer(int w, int h) {
    size_t bytes = (size_t)w * (size_t)h * 4;
    int fd = memfd_create("wl-probe", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, (off_t)bytes) < 0) exit(1);
    uint32_t* pixels = mmap(NULL, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) exit(1);
    for (size_t i = 0; i < (size_t)w * (size_t)h; ++i) pixels[i] = 0xFF000000u | colour;
    munmap(pixels, bytes);
    struct wl_shm_pool* pool = wl_shm_create_pool(shm, fd, (int32_t)bytes);
    struct wl_buffer* b = wl_shm_pool_create_buffer(pool, 0, w, h, w * 4, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return b;
}

static void surface_configure(void* data, struct xdg_surface* xdg_surface, uint32_t serial) {
    (void)data;
    xdg_surface_ack_configure(xdg_surface, serial);
    if (buffer) wl_buffer_destroy(buffer);
    buffer = solid_buffer(width, height);
    wl_surface_attach(surface, buffer, 0, 0);
    wl_surface_damage_buffer(surface, 0, 0, width, height);
    wl_surface_commit(surface);
    if (!configured) printf("mapped %d %d\n", width, height);
    configured = 1;
    fflush(stdout);
}
static const struct xdg_surface_listener surface_listener = {surface_configure};

static void toplevel_configure(void* data, struct xdg_toplevel* toplevel, int32_t w, int32_t h, struct wl_array* states) {
    (void)data, (void)toplevel, (void)states;
    if (w > 0 && h > 0) width = w, height = h;
}
static void toplevel_close(void* data, struct xdg_toplevel* toplevel) {
    (void)data, (void)toplevel;
    exit(0);
}
static const struct xdg_toplevel_listener toplevel_listener = {.configure = toplevel_configure, .close = toplevel_close};

static double pointer_x, pointer_y;
static void enter(void* d, struct wl_pointer* p, uint32_t s, struct wl_surface* f, wl_fixed_t x, wl_fixed_t y) {
    (void)d, (void)p, (void)s, (void)f;
    pointer_x = wl_fixed_to_double(x), pointer_y = wl_fixed_to_double(y);
}
static void leave(void* d, struct wl_pointer* p, uint32_t s, struct wl_surface* f) { (void)d, (void)p, (void)s, (void)f; }
static void motion(void* d, struct wl_pointer* p, uint32_t t, wl_fixed_t x, wl_fixed_t y) {
    (void)d, (void)p, (void)t;
    pointer_x = wl_fixed_to_double(x), pointer_y = wl_fixed_to_double(y);
}
static void button(void* d, struct wl_pointer* p, uint32_t s, uint32_t t, uint32_t b, uint32_t state) {
    (void)d, (void)p, (void)s, (void)t, (void)b;
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) printf("press %d %d\n", (int)pointer_x, (int)pointer_y);
    fflush(stdout);
}
static void axis(void* d, struct wl_pointer* p, uint32_t t, uint32_t a, wl_fixed_t v) { (void)d, (void)p, (void)t, (void)a, (void)v; }
static const struct wl_pointer_listener pointer_listener = {
    .enter = enter, .leave = leave, .motion = motion, .button = button, .axis = axis};

static void keymap(void* d, struct wl_keyboard* k, uint32_t format, int fd, uint32_t size) {
    (void)d, (void)k, (void)format, (void)size;
    close(fd);
}
static void key_enter(void* d, struct wl_keyboard* k, uint32_t s, struct wl_surface* f, struct wl_array* keys) {
    (void)d, (void)k, (void)s, (void)f, (void)keys;
}
static void key_leave(void* d, struct wl_keyboard* k, uint32_t s, struct wl_surface* f) { (void)d, (void)k, (void)s, (void)f; }
static void key(void* d, struct wl_keyboard* k, uint32_t s, uint32_t t, uint32_t code, uint32_t state) {
    (void)d, (void)k, (void)s, (void)t;
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED) printf("key %u\n", code);
    fflush(stdout);
}
static void modifiers(void* d, struct wl_keyboard* k, uint32_t s, uint32_t dep, uint32_t lat, uint32_t lock, uint32_t group) {
    (void)d, (void)k, (void)s, (void)dep, (void)lat, (void)lock, (void)group;
}
static const struct wl_keyboard_listener keyboard_listener = {
    .keymap = keymap, .enter = key_enter, .leave = key_leave, .key = key, .modifiers = modifiers};

static void capabilities(void* data, struct wl_seat* s, uint32_t caps) {
    static struct wl_pointer* pointer;
    static struct wl_keyboard* keyboard;
    (void)data;
    if ((caps & WL_SEAT_CAPABILITY_POINTER) && !pointer && surface) {
        pointer = wl_seat_get_pointer(s);
        wl_pointer_add_listener(pointer, &pointer_listener, NULL);
    }
    if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && !keyboard && surface) {
        keyboard = wl_seat_get_keyboard(s);
        wl_keyboard_add_listener(keyboard, &keyboard_listener, NULL);
    }
}
static void seat_name(void* data, struct wl_seat* s, const char* name) { (void)data, (void)s, (void)name; }
static const struct wl_seat_listener seat_listener = {capabilities, seat_name};

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) return 1;
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);

    if (strcmp(argv[1], "pointer") == 0 && argc == 4) {
        if (!pointer_manager) return 1;
        uint32_t w = (uint32_t)atoi(argv[2]), h = (uint32_t)atoi(argv[3]);
        struct zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointer_manager, seat);
        wl_display_roundtrip(display);
        printf("pointer\n");
        fflush(stdout);
        char line[128];
        uint32_t time = 1;
        while (fgets(line, sizeof line, stdin)) {
            int x, y, n;
            time += 10;
            if (sscanf(line, "extent %d %d", &x, &y) == 2) {
                /* The layout grew or shrank: positions map onto its new size. */
                w = (uint32_t)x, h = (uint32_t)y;
            } else if (sscanf(line, "move %d %d", &x, &y) == 2) {
                zwlr_virtual_pointer_v1_motion_absolute(pointer, time, (uint32_t)x, (uint32_t)y, w, h);
            } else if (strncmp(line, "down", 4) == 0 || strncmp(line, "up", 2) == 0) {
                zwlr_virtual_pointer_v1_button(pointer, time, BTN_LEFT,
                                               line[0] == 'd' ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
            } else if (sscanf(line, "wheel %d", &n) == 1) {
                zwlr_virtual_pointer_v1_axis_source(pointer, WL_POINTER_AXIS_SOURCE_WHEEL);
                zwlr_virtual_pointer_v1_axis_discrete(pointer, time, WL_POINTER_AXIS_VERTICAL_SCROLL, wl_fixed_from_int(15 * n), n);
            } else {
                continue;
            }
            zwlr_virtual_pointer_v1_frame(pointer);
            wl_display_roundtrip(display);
            printf("ok\n");
            fflush(stdout);
        }
        return 0;
    } else if (strcmp(argv[1], "window") == 0 && (argc == 3 || (argc == 4 && strcmp(argv[3], "fullscreen") == 0))) {
        if (!compositor || !shm || !wm_base) return 1;
        colour = (uint32_t)strtoul(argv[2], NULL, 16) & 0xFFFFFFu;
        width = 640, height = 480;
        xdg_wm_base_add_listener(wm_base, &wm_base_listener, NULL);
        surface = wl_compositor_create_surface(compositor);
        struct xdg_surface* xdg_surface = xdg_wm_base_get_xdg_surface(wm_base, surface);
        xdg_surface_add_listener(xdg_surface, &surface_listener, NULL);
        struct xdg_toplevel* toplevel = xdg_surface_get_toplevel(xdg_surface);
        xdg_toplevel_add_listener(toplevel, &toplevel_listener, NULL);
        xdg_toplevel_set_app_id(toplevel, "wl-probe");
        if (argc == 4) xdg_toplevel_set_fullscreen(toplevel, NULL);
        wl_surface_commit(surface);
        if (seat) wl_seat_add_listener(seat, &seat_listener, NULL);
    } else {
        return 2;
    }
    while (wl_display_dispatch(display) >= 0) {
    }
    return 0;
}
