// Starts a program and prints, in milliseconds, how long it took until the
// screen inside a rectangle first changed (its first paint), then its
// resident memory a moment later in kilobytes, then the processor time its
// threads had used when the first paint was seen, in milliseconds:
// "first_paint_ms rss_kb cpu_ms". On a busy machine the processor time says
// what the program itself spent, where the wall time also counts the waits.
// Usage: first-paint X Y WIDTH HEIGHT SETTLE_MS PROGRAM [ARGUMENTS...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<unsigned long> Pixels(Display* display, int x, int y, unsigned w, unsigned h) {
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, w, h, AllPlanes, ZPixmap);
    if (!image) return pixels;
    pixels.reserve(std::size_t(w) * h);
    for (unsigned j = 0; j < h; ++j)
        for (unsigned i = 0; i < w; ++i) pixels.push_back(XGetPixel(image, int(i), int(j)));
    XDestroyImage(image);
    return pixels;
}

long ResidentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// The run time of every thread of the process so far, from the scheduler's
// own nanosecond counts.
double ProcessorMilliseconds(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir) return -1;
    double ns = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
        double run = 0;
        if (stat >> run) ns += run;
    }
    closedir(dir);
    return ns / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 7) {
        std::fputs("usage: first-paint X Y WIDTH HEIGHT SETTLE_MS PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    const int w = std::atoi(argv[3]), h = std::atoi(argv[4]), settle = std::atoi(argv[5]);
    if (w <= 0 || h <= 0 || settle < 0) return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("first-paint: no X display\n", stderr);
        return 1;
    }
    const std::vector<unsigned long> before = Pixels(display, x, y, unsigned(w), unsigned(h));

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[6], argv + 6);
        _exit(127);
    }
    if (child < 0) return 1;

    // Polling the server costs the same for every program measured; a broken
    // program is given up on after half a minute.
    double elapsed = -1;
    double processor = -1;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
        if (waitpid(child, nullptr, WNOHANG) == child) break;
        if (Pixels(display, x, y, unsigned(w), unsigned(h)) != before) {
            elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            processor = ProcessorMilliseconds(child);
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(settle));
    const long rss = ResidentKilobytes(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (elapsed < 0) {
        std::fputs("first-paint: the program painted nothing\n", stderr);
        return 1;
    }
    std::printf("%.1f %ld %.1f\n", elapsed, rss, processor);
    return 0;
}
