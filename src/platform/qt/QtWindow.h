// One frameless topmost Qt window: shows a raster surface, hides and passes
// clicks through its key-coloured pixels, and reports input as platform events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "platform/Offscreen.h"
#include "platform/Window.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/qt/QtX11Properties.h"
#include "platform/qt/QtX11Shape.h"

namespace ratiscope {

class TQtWindow;

// The widget behind a TQtWindow: it forwards Qt's events and paints the surface.
class TQtSurfaceWidget final : public QWidget {
public:
    explicit TQtSurfaceWidget(TQtWindow& owner);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Watches the native window for being exposed, which follows its mapping.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TQtWindow& owner_;
    std::int32_t wheelRest_ = 0;
};

// Without a compositor a large window shows its picture beyond the first
// tile through windows like this one, each shaped on its own: the X server's
// work for one shape change grows with the square of that shape's rectangles,
// and each change also costs it the rectangles of every window beneath; so no
// shape holds more than a tile or a piece of an edge strip, and a change of
// size, which mostly moves the edges, reshapes mostly the strips along them.
// It shows its tile of the owner's picture and hands the owner its input,
// moved by the tile's place.
class TQtTileWidget final : public QWidget {
public:
    TQtTileWidget(TQtWindow& owner, TShapeTile tile);
    TShapeTile Tile() const { return tile_; }
    void SetTile(TShapeTile tile) { tile_ = tile; }
    // Whether the window's shape shows the tile's pixels of the mask now shown.
    bool shaped = false;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    TQtWindow& owner_;
    TShapeTile tile_;
    std::int32_t wheelRest_ = 0;
};

class TQtWindow final : public IWindow, public IQtControlHost {
public:
    TQtWindow(TQtWindowSystem& system, IWindowEvents& events, const TWindowOptions& options,
              std::unique_ptr<IOffscreen> surface);
    ~TQtWindow() override;

    std::int32_t Left() const override;
    std::int32_t Top() const override;
    void Move(std::int32_t left, std::int32_t top) override;
    TSize ClientSize() const override { return size_; }
    void SetClientSize(TSize size) override;
    void Show() override;
    void Hide() override;
    bool IsVisible() const override;
    bool IsActive() const override;
    void BringToFront() override;
    void ReassertTopmost() override;
    void Close() override;
    void SetAlpha(bool blending, std::uint8_t alpha) override;
    void Invalidate() override;
    ICanvas& NewPicture() override;
    ICanvas& Surface() override;
    void FlushSurface() override;
    void SetCursor(TCursor cursor) override;
    void SetHint(std::string_view text) override;
    void CancelHint() override;
    void SetHintsEnabled(bool enabled) override;
    // Runs `task` from the message loop once the window has painted on the
    // screen (right away when it has); dropped with the window.
    void AfterFirstPaint(std::function<void()> task);
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    int Dpi() const override;
    IControlHost& ControlHost() override { return *this; }
    QWidget* Container() override { return widget_.get(); }

    TQtSurfaceWidget& Widget() { return *widget_; }
    // Whether key pixels are made transparent by a compositor (32-bit window)
    // rather than cut out of the window's shape.
    bool Composited() const { return composited_; }
    // A shape change was sent and the server is not done with it yet, or one waits for that.
    bool ShapeBusy() const { return shapeMark_ != 0 || shapeWaiting_; }
    // What the last SetAlpha asked for.
    bool Blending() const { return blending_; }
    std::uint8_t Alpha() const { return alpha_; }

    // From the widget.
    IWindowEvents& Events() { return events_; }
    void PaintRequested(QPainter& painter);
    void ActivationChanged();
    void Closing();
    void Minimised(bool minimised);
    void DpiMaybeChanged();
    void Exposed();
    // The window moved or changed size: its tiles follow.
    void PlaceTiles();
    // Paints the picture from the tile's top left on, at the painter's origin.
    void PaintTile(QPainter& painter, TShapeTile tile);

private:
    // The side of the tiles the window is cut into; 0 when it is not cut.
    std::int32_t CutSide() const;
    // What each window shows: this one the first tile, the tile windows the others.
    std::vector<TShapeTile> Tiles() const;
    // Makes, drops, places and shows the tile windows for the current size.
    void LayOutTiles();
    // The same without showing them.
    void ArrangeTiles();
    // Shapes and shows, or hides, the tile windows.
    void ShowTiles(bool shown);
    // Shows or hides them as they are shaped.
    void RevealTiles(bool shown);
    void UpdateShape();
    // The first picture is on the screen (or will not come): what waited for it runs.
    void FirstPaintDone();
    // The X window, made at the widget's place and size when first shown:
    // some desktops honour only the place a window is born at.
    void CreateNative();
    bool NativeCreated() const { return widget_->internalWinId() != 0; }
    std::uint32_t NativeId() const;

    TQtWindowSystem& system_;
    IWindowEvents& events_;
    TPixel keyPixel_;
    bool main_;
    std::unique_ptr<IOffscreen> surface_;
    std::unique_ptr<TQtSurfaceWidget> widget_;
    TQtWindow* owner_ = nullptr;
    TX11Shape shape_;
    TX11WindowProperties properties_;
    bool composited_ = false;
    bool blending_ = false;
    std::uint8_t alpha_ = 255;
    // Shown but not yet on screen: the opacity is written again once it is,
    // as some desktops read it only when it changes after the mapping.
    bool opacityOwed_ = false;
    // Whether a picture reached the screen yet, and what waits for that.
    bool paintedOnScreen_ = false;
    std::vector<std::function<void()>> afterFirstPaint_;
    // Alpha 0 without a compositor: nothing would hide the window, so its
    // shape is emptied while it keeps its place and the keyboard.
    bool hidden_ = false;
    bool shapeHidden_ = false;
    // At most one shape change is with the server: a change costs it time
    // that grows with the rectangles, and changes sent behind each other
    // would freeze the desktop for all of them. A newer change waits for the
    // mark after the last one and replaces any older one that waits.
    std::uint32_t shapeMark_ = 0;
    bool shapeWaiting_ = false;
    QTimer shapeRetry_;
    void ShapeAnswerCheck();
    TSize size_;
    bool inPaint_ = false;
    bool stale_ = true;  // the surface no longer shows what the window should: compose at the next paint
    bool closed_ = false;
    bool wasActive_ = false;
    bool hintsEnabled_ = false;
    std::string hint_;
    int dpi_ = 96;
    TShapeMask mask_;
    TShapeMask shownMask_;
    bool shapeSet_ = false;
    std::uint32_t shapedFrame_ = 0;
    std::vector<std::uint32_t> argb_;
    std::vector<std::unique_ptr<TQtTileWidget>> tiles_;
    // The cut the last figure's rectangles asked for: inner tiles' side, edge pieces' length.
    std::int32_t densitySide_ = 256;
    std::int32_t edgeLength_ = 0;
    // Where the edge strips start; they stay while the edges move a little.
    std::int32_t rightStrip_ = -1;
    std::int32_t bottomStrip_ = -1;
    bool firstTileShaped_ = false;
    TShapeTile shapedFirst_;
};

}  // namespace ratiscope
