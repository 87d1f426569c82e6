// A window system that keeps each window's state in memory and writes every
// call into one log, so window logic is tested without a display.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Image.h"
#include "platform/Window.h"
#include "support/RecordingSurface.h"

namespace ratiscope::testing {

// Log lines look like "Move 300,240", "SetClientSize 420,285", "SetAlpha 1 230",
// "NewPicture 420x285", "SetCursor HandPoint", "SetHint \"Look\"", "app.SetOverrideCursor SizeNWSE".
class TRecordingWindowSystem;

inline const char* CursorName(TCursor c) {
    switch (c) {
    case TCursor::Default: return "Default";
    case TCursor::HandPoint: return "HandPoint";
    case TCursor::SizeNWSE: return "SizeNWSE";
    }
    return "?";
}

class TRecordingWindow final : public IWindow {
public:
    TRecordingWindow(std::vector<std::string>& log, IWindowEvents& events, TWindowOptions options)
        : events(events), options(std::move(options)), log_(log) {}

    IWindowEvents& events;
    TWindowOptions options;
    std::int32_t left = 0;
    std::int32_t top = 0;
    TSize size;
    bool visible = false;
    bool active = true;
    bool blending = false;
    std::uint8_t alpha = 255;
    bool captured = false;
    bool hintsEnabled = false;
    bool closed = false;
    TCursor cursor = TCursor::Default;
    std::string hint;
    // How many whole new pictures were begun.
    int pictures = 0;
    // What the window shows: the surface's pixels as of the last FlushSurface.
    TImage shown;
    int flushes = 0;
    int dpi = 96;
    // What was drawn onto the window since the last NewPicture began, and its pixels.
    TRecordingSurface surface;

    std::int32_t Left() const override { return left; }
    std::int32_t Top() const override { return top; }
    void Move(std::int32_t l, std::int32_t t) override {
        left = l;
        top = t;
        Add("Move " + Pair(l, t));
    }
    TSize ClientSize() const override { return size; }
    void SetClientSize(TSize s) override {
        size = s;
        Add("SetClientSize " + Pair(s.width, s.height));
    }
    void Show() override {
        visible = true;
        Add("Show");
    }
    void Hide() override {
        visible = false;
        Add("Hide");
    }
    bool IsVisible() const override { return visible; }
    bool IsActive() const override { return active; }
    void BringToFront() override { Add("BringToFront"); }
    void ReassertTopmost() override { Add("ReassertTopmost"); }
    void Close() override {
        Add("Close");
        events.OnClose();
        closed = true;
        visible = false;
    }
    void SetAlpha(bool b, std::uint8_t a) override {
        blending = b;
        alpha = a;
        Add("SetAlpha " + std::to_string(b ? 1 : 0) + " " + std::to_string(a));
    }
    void Invalidate() override { Add("Invalidate"); }
    // As the platforms do: the client size, every pixel the key colour.
    ICanvas& NewPicture() override {
        ++pictures;
        surface.Resize(size.width, size.height);
        surface.FillRect({0, 0, size.width, size.height}, options.keyColor);
        surface.calls.clear();
        Add("NewPicture " + std::to_string(size.width) + "x" + std::to_string(size.height));
        return surface;
    }
    ICanvas& Surface() override { return surface; }
    void FlushSurface() override {
        ++flushes;
        shown = surface.Pixels();
        Add("FlushSurface");
    }
    void SetCursor(TCursor c) override {
        cursor = c;
        Add(std::string("SetCursor ") + CursorName(c));
    }
    void SetHint(std::string_view text) override {
        hint = text;
        Add("SetHint \"" + hint + "\"");
    }
    void CancelHint() override { Add("CancelHint"); }
    void SetHintsEnabled(bool enabled) override {
        hintsEnabled = enabled;
        Add("SetHintsEnabled " + std::to_string(enabled ? 1 : 0));
    }
    void CaptureMouse() override {
        captured = true;
        Add("CaptureMouse");
    }
    void ReleaseMouse() override {
        captured = false;
        Add("ReleaseMouse");
    }
    int Dpi() const override { return dpi; }
    IControlHost& ControlHost() override { return host_; }

private:
    void Add(std::string line) { log_.push_back(std::move(line)); }
    static std::string Pair(std::int32_t a, std::int32_t b) { return std::to_string(a) + "," + std::to_string(b); }

    std::vector<std::string>& log_;
    IControlHost host_;
};

class TRecordingWindowSystem final : public IWindowSystem {
public:
    std::vector<std::string> log;
    // Every window created, in order; owned by whoever created it.
    std::vector<TRecordingWindow*> windows;
    TRect workArea{0, 0, 1920, 1050};
    TRect desktop{0, 0, 1920, 1080};
    std::int32_t primaryWidth = 1920;
    // The DPI of the screen a new window is born on.
    int newWindowDpi = 96;
    int colorDepth = 24;
    IApplicationEvents* appEvents = nullptr;
    std::string title;
    std::vector<TCursor> overrides;  // Qt's stack of override cursors
    TColor hintColor = 0;
    bool quit = false;
    int exitCode = 0;
    // Other programs' windows, topmost first: each outer frame with the
    // client area inside it.
    struct TOtherWindow {
        TRect frame;
        TRect client;
    };
    std::vector<TOtherWindow> others;

    std::unique_ptr<IWindow> CreateWindow(IWindowEvents& events, const TWindowOptions& options) override {
        auto w = std::make_unique<TRecordingWindow>(log, events, options);
        w->dpi = newWindowDpi;
        windows.push_back(w.get());
        log.push_back("CreateWindow");
        return w;
    }
    void SetApplicationTitle(std::string_view t) override {
        title = t;
        log.push_back("app.SetApplicationTitle \"" + title + "\"");
    }
    void SetApplicationEvents(IApplicationEvents* events) override { appEvents = events; }
    void SetOverrideCursor(TCursor c) override {
        overrides.push_back(c);
        log.push_back(std::string("app.SetOverrideCursor ") + CursorName(c));
    }
    void ResetOverrideCursor() override {
        overrides.clear();
        log.push_back("app.ResetOverrideCursor");
    }
    void SetHintColor(TColor c) override {
        hintColor = c;
        log.push_back("app.SetHintColor " + std::to_string(c));
    }
    TRect WorkAreaNear(const IWindow&) const override { return workArea; }
    TRect Desktop() const override { return desktop; }
    std::int32_t PrimaryScreenWidth() const override { return primaryWidth; }
    int ColorDepth() const override { return colorDepth; }
    std::optional<TRect> ClientAreaBeneath(std::int32_t x, std::int32_t y) const override {
        for (const TOtherWindow& w : others)
            if (w.frame.Contains(x, y)) return w.client;
        return std::nullopt;
    }
    void MinimizeApplication() override { log.push_back("app.MinimizeApplication"); }
    void ShowMessage(TMessageKind kind, std::string_view caption, std::string_view text) override {
        log.push_back(std::string("app.ShowMessage ") + (kind == TMessageKind::Error ? "error" : "warning") + " \"" +
                      std::string(caption) + "\" \"" + std::string(text) + "\"");
    }
    int Run() override { return exitCode; }
    void Quit(int code) override {
        quit = true;
        exitCode = code;
        log.push_back("app.Quit " + std::to_string(code));
    }

    // The log lines since `mark` (an earlier log.size()).
    std::vector<std::string> Since(std::size_t mark) const {
        return std::vector<std::string>(log.begin() + static_cast<std::ptrdiff_t>(mark), log.end());
    }
};

}  // namespace ratiscope::testing
