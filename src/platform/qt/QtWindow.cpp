// A Qt window that shows a raster surface with its key colour see-through and
// click-through, and turns Qt's input events into the platform's.
#include "platform/qt/QtWindow.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/Canvas.h"
#include "platform/Image.h"
#include "platform/qt/QtKeys.h"

namespace ratiscope {

namespace {

// How often a window whose shape change waits asks whether the server is done
// with the one before; only while one waits.
constexpr int kShapeAnswerPollMs = 4;

// The longest what waits for a window's first picture waits for it.
constexpr int kFirstPaintWaitMs = 1000;

// Tile windows are as large as their tiles rounded up to this.
constexpr std::int32_t kTileWindowStep = 64;

// One notch of a mouse wheel in Qt's angle units.
constexpr std::int32_t kWheelNotch = 120;

Qt::CursorShape QtCursor(TCursor c) {
    switch (c) {
    case TCursor::HandPoint: return Qt::PointingHandCursor;
    case TCursor::SizeNWSE: return Qt::SizeFDiagCursor;
    case TCursor::Default: break;
    }
    return Qt::ArrowCursor;
}

bool ButtonFromQt(Qt::MouseButton b, TMouseButton& out) {
    switch (b) {
    case Qt::LeftButton: out = TMouseButton::Left; return true;
    case Qt::RightButton: out = TMouseButton::Right; return true;
    case Qt::MiddleButton: out = TMouseButton::Middle; return true;
    default: return false;
    }
}

// Mouse input of the window or one of its tiles, `at` from the window's top left.
void MouseTo(TQtWindow& window, QMouseEvent* e, QPoint at) {
    const QPoint p = e->position().toPoint() + at;
    const TShiftState state = ShiftStateFromQt(e->modifiers(), e->buttons());
    TMouseButton b;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (ButtonFromQt(e->button(), b)) window.Events().OnMouseDown(b, state, p.x(), p.y());
        break;
    case QEvent::MouseButtonRelease:
        if (ButtonFromQt(e->button(), b)) window.Events().OnMouseUp(b, state, p.x(), p.y());
        break;
    default:
        // While a button is held Qt's implicit grab keeps these coming from outside the window.
        window.Events().OnMouseMove(state, p.x(), p.y());
        break;
    }
}

void WheelTo(TQtWindow& window, QWheelEvent* e, QPoint at, std::int32_t& wheelRest) {
    // Qt on X11 turns the vertical wheel into a horizontal one while Alt is held.
    std::int32_t d = e->angleDelta().y();
    if (d == 0) d = e->angleDelta().x();
    if (d == 0) return;
    // Fine-grained wheels and touchpads send parts of a notch; every rule counts whole notches.
    if ((d > 0) != (wheelRest > 0)) wheelRest = 0;
    wheelRest += d;
    const std::int32_t notches = wheelRest / kWheelNotch;
    if (notches == 0) return;
    wheelRest -= notches * kWheelNotch;
    const QPoint p = e->position().toPoint() + at;
    window.Events().OnMouseWheel(ShiftStateFromQt(e->modifiers(), e->buttons()), notches * kWheelNotch, p.x(), p.y());
}

}  // namespace

TQtSurfaceWidget::TQtSurfaceWidget(TQtWindow& owner) : owner_(owner) {}

void TQtSurfaceWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    owner_.PaintRequested(painter);
}

void TQtSurfaceWidget::mousePressEvent(QMouseEvent* e) { MouseTo(owner_, e, {}); }

void TQtSurfaceWidget::mouseMoveEvent(QMouseEvent* e) { MouseTo(owner_, e, {}); }

void TQtSurfaceWidget::mouseReleaseEvent(QMouseEvent* e) { MouseTo(owner_, e, {}); }

void TQtSurfaceWidget::wheelEvent(QWheelEvent* e) { WheelTo(owner_, e, {}, wheelRest_); }

void TQtSurfaceWidget::moveEvent(QMoveEvent*) { owner_.PlaceTiles(); }

void TQtSurfaceWidget::resizeEvent(QResizeEvent*) { owner_.PlaceTiles(); }

void TQtSurfaceWidget::keyPressEvent(QKeyEvent* e) {
    const TKey key = VirtualKeyFromQt(e->key(), e->modifiers());
    if (key != TKey::None) owner_.Events().OnKeyDown(key, ShiftStateFromQt(e->modifiers(), QGuiApplication::mouseButtons()));
    QWidget::keyPressEvent(e);  // the key is not consumed
}

void TQtSurfaceWidget::keyReleaseEvent(QKeyEvent* e) {
    // X11 auto-repeat sends a release before every repeated press; a held peek key must stay held.
    if (!e->isAutoRepeat()) {
        const TKey key = VirtualKeyFromQt(e->key(), e->modifiers());
        if (key != TKey::None) owner_.Events().OnKeyUp(key, ShiftStateFromQt(e->modifiers(), QGuiApplication::mouseButtons()));
    }
    QWidget::keyReleaseEvent(e);
}

void TQtSurfaceWidget::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange) owner_.ActivationChanged();
    if (e->type() == QEvent::WindowStateChange) owner_.Minimised(isMinimized());
    QWidget::changeEvent(e);
}

void TQtSurfaceWidget::closeEvent(QCloseEvent* e) {
    e->accept();
    owner_.Closing();
}

bool TQtSurfaceWidget::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed()) owner_.Exposed();
    return false;
}

TQtTileWidget::TQtTileWidget(TQtWindow& owner, TShapeTile tile) : owner_(owner), tile_(tile) {
    // Placed by its owner, never by a window manager, and never focused: the
    // keyboard stays with the owner.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void TQtTileWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    owner_.PaintTile(painter, tile_);
}

void TQtTileWidget::mousePressEvent(QMouseEvent* e) {
    // A click on a tile is a click on the window: it takes the keyboard.
    owner_.Widget().activateWindow();
    MouseTo(owner_, e, {tile_.left, tile_.top});
}

void TQtTileWidget::mouseMoveEvent(QMouseEvent* e) { MouseTo(owner_, e, {tile_.left, tile_.top}); }

void TQtTileWidget::mouseReleaseEvent(QMouseEvent* e) { MouseTo(owner_, e, {tile_.left, tile_.top}); }

void TQtTileWidget::wheelEvent(QWheelEvent* e) { WheelTo(owner_, e, {tile_.left, tile_.top}, wheelRest_); }

TQtWindow::TQtWindow(TQtWindowSystem& system, IWindowEvents& events, const TWindowOptions& options,
                     std::unique_ptr<IOffscreen> surface)
    : system_(system),
      events_(events),
      keyPixel_(PixelFromColor(options.keyColor)),
      main_(options.mainWindow),
      surface_(std::move(surface)),
      widget_(std::make_unique<TQtSurfaceWidget>(*this)),
      owner_(dynamic_cast<TQtWindow*>(options.owner)) {
    QWidget& w = *widget_;
    w.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // Every pixel comes from the surface: no background erase, no flicker.
    w.setAttribute(Qt::WA_NoSystemBackground);
    w.setAttribute(Qt::WA_OpaquePaintEvent);
    composited_ = shape_.Available() && shape_.CompositorRunning();
    // A 32-bit window only where a compositor blends it; without one its
    // transparent pixels would show black, so the shape cuts them out instead.
    if (composited_) w.setAttribute(Qt::WA_TranslucentBackground);
    w.setMouseTracking(true);
    w.setFocusPolicy(Qt::StrongFocus);
    w.setWindowTitle(QString::fromStdString(options.title));
    // Not yet an X window: that is made where the window is when first shown.
    w.resize(1, 1);
    // A screen's DPI also changes while the program runs (an XSETTINGS daemon
    // setting Xft/DPI); every screen is watched, the window's own is compared.
    const auto watch = [this, &w](QScreen* screen) {
        QObject::connect(screen, &QScreen::logicalDotsPerInchChanged, &w, [this] { DpiMaybeChanged(); });
    };
    for (QScreen* screen : QGuiApplication::screens()) watch(screen);
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, &w, watch);
    dpi_ = Dpi();
    shapeRetry_.setSingleShot(true);
    shapeRetry_.setInterval(kShapeAnswerPollMs);
    QObject::connect(&shapeRetry_, &QTimer::timeout, &w, [this] { ShapeAnswerCheck(); });
}

TQtWindow::~TQtWindow() {
    shape_.Drop(shapeMark_);
    system_.Forget(this);
}

std::int32_t TQtWindow::Left() const { return widget_->pos().x(); }

std::int32_t TQtWindow::Top() const { return widget_->pos().y(); }

void TQtWindow::Move(std::int32_t left, std::int32_t top) { widget_->move(left, top); }

void TQtWindow::SetClientSize(TSize size) {
    const TSize wanted{std::max(0, size.width), std::max(0, size.height)};
    if (!(wanted == size_)) stale_ = true;
    size_ = wanted;
    // An X window is at least 1 x 1; an empty shape hides that pixel. The
    // place goes with the size: a plain resize takes the place Qt's window
    // handle remembers, which after a screen DPI change can be 0, 0, and the
    // window manager then moves the window there.
    widget_->setGeometry(QRect(widget_->geometry().topLeft(), QSize(std::max(1, size_.width), std::max(1, size_.height))));
    LayOutTiles();
}

std::int32_t TQtWindow::CutSide() const {
    // Only the overlay without a compositor is cut; a window with controls stays in one piece.
    const bool cut = main_ && !composited_ && shape_.Available();
    return cut ? std::max(densitySide_, LeastTileSide(size_.width, size_.height)) : 0;
}

std::vector<TShapeTile> TQtWindow::Tiles() const {
    return ShapeTiles(size_.width, size_.height, CutSide(), edgeLength_, rightStrip_, bottomStrip_);
}

void TQtWindow::LayOutTiles() {
    ArrangeTiles();
    if (!tiles_.empty()) ShowTiles(IsVisible());
}

void TQtWindow::ArrangeTiles() {
    rightStrip_ = EdgeStripStart(size_.width, rightStrip_);
    bottomStrip_ = EdgeStripStart(size_.height, bottomStrip_);
    const std::vector<TShapeTile> tiles = Tiles();
    const std::size_t wanted = tiles.size() > 1 ? tiles.size() - 1 : 0;
    while (tiles_.size() < wanted) {
        auto tile = std::make_unique<TQtTileWidget>(*this, TShapeTile{});
        tile->setCursor(widget_->cursor());
        // Nothing of a new tile shows before its shape does.
        tile->winId();
        shape_.Apply(static_cast<std::uint32_t>(tile->winId()), TShapeMask{}, false);
        tiles_.push_back(std::move(tile));
    }
    // Tiles no longer needed stay, empty, rather than going: one may hold the
    // pointer's grab in the very drag that shrinks the window.
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        TQtTileWidget& tile = *tiles_[i];
        const TShapeTile old = tile.Tile();
        const TShapeTile wantedTile = i < wanted ? tiles[i + 1] : TShapeTile{old.left, old.top, 0, 0};
        if (!(wantedTile == old)) {
            tile.SetTile(wantedTile);
            tile.shaped = false;
        }
    }
    PlaceTiles();
}

void TQtWindow::PlaceTiles() {
    if (tiles_.empty()) return;
    // Each new size of a window costs the server as much as a new shape; a
    // tile's shape alone decides what it shows, so tile windows are a little
    // larger than their tiles and change size only now and then.
    const auto rounded = [](std::int32_t length) {
        return (std::max(1, length) + kTileWindowStep - 1) / kTileWindowStep * kTileWindowStep;
    };
    const QPoint origin = widget_->geometry().topLeft();
    for (const auto& tile : tiles_) {
        const TShapeTile t = tile->Tile();
        const QRect place(origin + QPoint(t.left, t.top), QSize(rounded(t.width), rounded(t.height)));
        if (tile->geometry() != place) tile->setGeometry(place);
    }
}

void TQtWindow::ShowTiles(bool shown) {
    if (tiles_.empty()) return;
    if (shown) UpdateShape();  // a tile shows its shape, not its key pixels
    RevealTiles(shown);
}

void TQtWindow::RevealTiles(bool shown) {
    for (const auto& tile : tiles_) {
        if (tile->isVisible() == shown) continue;
        if (shown) {
            tile->show();
            tile->raise();
        } else {
            tile->hide();
        }
    }
}

void TQtWindow::PaintTile(QPainter& painter, TShapeTile tile) {
    if (!surface_) return;
    const TImage& front = surface_->Picture();
    const std::int32_t w = front.Width();
    const std::int32_t h = front.Height();
    if (w <= 0 || h <= 0 || tile.left < 0 || tile.top < 0 || tile.left >= w || tile.top >= h) return;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage image(reinterpret_cast<const uchar*>(front.Data()), w, h, front.Stride(), QImage::Format_RGB32);
    painter.drawImage(QPoint(0, 0), image, QRect(tile.left, tile.top, w - tile.left, h - tile.top));
}

std::uint32_t TQtWindow::NativeId() const { return static_cast<std::uint32_t>(widget_->winId()); }

void TQtWindow::CreateNative() {
    if (NativeCreated()) return;
    QWidget& w = *widget_;
    w.winId();
    if (QWindow* handle = w.windowHandle()) {
        QObject::connect(handle, &QWindow::screenChanged, &w, [this] { DpiMaybeChanged(); });
        handle->installEventFilter(&w);
    }
    // What was asked for before the window existed, before it shows.
    properties_.SetOpacity(NativeId(), blending_, alpha_);
    UpdateShape();
    DpiMaybeChanged();
}

void TQtWindow::Exposed() {
    if (!opacityOwed_) return;
    opacityOwed_ = false;
    properties_.SetOpacity(NativeId(), blending_, alpha_);
}

void TQtWindow::AfterFirstPaint(std::function<void()> task) {
    if (!paintedOnScreen_) {
        afterFirstPaint_.push_back(std::move(task));
        return;
    }
    // The widget is the timer's context: the task goes with the window.
    QTimer::singleShot(0, widget_.get(), std::move(task));
}

void TQtWindow::Show() {
    CreateNative();
    if (!widget_->isVisible()) opacityOwed_ = true;
    if (owner_) properties_.SetSkipTaskbar(NativeId());  // read by the window manager when it maps the window
    widget_->show();
    // A window whose shape is empty (alpha 0 without a compositor) is never
    // exposed: what waits for its first picture goes now. A desktop may also
    // keep a window from the screen: then it waits no longer than a moment.
    if (!paintedOnScreen_) {
        if (hidden_)
            FirstPaintDone();
        else
            QTimer::singleShot(kFirstPaintWaitMs, widget_.get(), [this] { FirstPaintDone(); });
    }
    // Qt takes the transient relation off every plain window it shows.
    if (owner_) properties_.SetTransientFor(NativeId(), owner_->NativeId());
    properties_.SetOpacity(NativeId(), blending_, alpha_);
    LayOutTiles();
}

void TQtWindow::Hide() {
    ShowTiles(false);
    widget_->hide();
}

bool TQtWindow::IsVisible() const { return widget_->isVisible() && !widget_->isMinimized(); }

bool TQtWindow::IsActive() const { return widget_->isActiveWindow(); }

void TQtWindow::BringToFront() {
    Show();
    widget_->raise();
    widget_->activateWindow();
    for (const auto& tile : tiles_) tile->raise();
}

void TQtWindow::ReassertTopmost() {
    widget_->raise();
    for (const auto& tile : tiles_) tile->raise();
}

void TQtWindow::Close() { widget_->close(); }

void TQtWindow::SetAlpha(bool blending, std::uint8_t alpha) {
    // Written by hand: Qt's opacity is a floating-point level whose property
    // value a rounding compositor reads one step too high.
    blending_ = blending;
    alpha_ = alpha;
    if (NativeCreated()) properties_.SetOpacity(NativeId(), blending, alpha);
    const bool hide = !composited_ && blending && alpha == 0;
    if (hide == hidden_) return;
    hidden_ = hide;
    UpdateShape();
}

void TQtWindow::Invalidate() {
    stale_ = true;
    widget_->update();
}

ICanvas& TQtWindow::NewPicture() {
    stale_ = false;
    return NewPictureOn(*surface_, size_, ColorFromPixel(keyPixel_));
}

ICanvas& TQtWindow::Surface() { return surface_->Canvas(); }

void TQtWindow::FlushSurface() {
    UpdateShape();
    if (inPaint_) return;  // the paint under way shows it, and updates the tiles
    if (tiles_.empty()) {
        widget_->repaint();
        return;
    }
    // The window itself shows only its first tile.
    const std::vector<TShapeTile> tiles = Tiles();
    if (!tiles.empty()) widget_->repaint(QRect(tiles.front().left, tiles.front().top, tiles.front().width, tiles.front().height));
    for (const auto& tile : tiles_)
        if (tile->isVisible() && !tile->Tile().Empty()) tile->repaint();
}

void TQtWindow::UpdateShape() {
    // A window not yet made gets its shape when it is.
    if (!surface_ || !shape_.Available() || !NativeCreated()) return;
    BuildShapeMask(surface_->Picture(), keyPixel_, shape_.Format(), mask_, composited_ ? &argb_ : nullptr);
    const auto window = static_cast<std::uint32_t>(widget_->winId());
    // The input shape goes onto the window manager's frame too, so a new frame needs it again.
    std::uint32_t frame = window;
    if (composited_) {
        std::int16_t dx = 0;
        std::int16_t dy = 0;
        frame = shape_.TopLevelAncestor(window, dx, dy);
    }
    // A figure much denser or sparser than the one the tiles were cut for
    // gets tiles of another size, all shaped anew, and edge pieces of
    // another length.
    std::int32_t side = densitySide_;
    std::int32_t length = edgeLength_;
    if (CutSide() > 0) {
        const std::int64_t rectangles = ShapeRectangles(mask_);
        side = TileSideFor(mask_.width, mask_.height, rectangles, densitySide_);
        length = EdgeLengthFor(mask_.width, mask_.height, rectangles, edgeLength_);
    }
    const bool retile = side != densitySide_;
    const bool recut = retile || length != edgeLength_;
    std::vector<TShapeTile> tiles = Tiles();
    TShapeTile first = tiles.empty() ? TShapeTile{} : tiles.front();
    // Reshaping costs the server time that grows with the rectangles: only
    // the windows whose bits changed.
    const bool all = retile || !shapeSet_ || frame != shapedFrame_ || hidden_ != shapeHidden_;
    bool firstDue = all || !firstTileShaped_ || first != shapedFirst_ || TileDiffers(mask_, shownMask_, first);
    const auto tileDue = [&](const TQtTileWidget& tile) {
        return all || !tile.shaped || TileDiffers(mask_, shownMask_, tile.Tile());
    };
    bool due = firstDue || recut;
    for (const auto& tile : tiles_) due = due || tileDue(*tile);
    if (!due) {
        shapeWaiting_ = false;  // what waited is on screen already
        return;
    }
    if (shapeMark_ != 0) {
        if (!shape_.Answered(shapeMark_)) {
            // The server still works on the last change; this one goes when it is done.
            shapeWaiting_ = true;
            if (!shapeRetry_.isActive()) shapeRetry_.start();
            return;
        }
        shapeMark_ = 0;
    }
    shapeWaiting_ = false;
    if (recut) {
        densitySide_ = side;
        edgeLength_ = length;
        ArrangeTiles();
        tiles = Tiles();
        first = tiles.empty() ? TShapeTile{} : tiles.front();
        firstDue = firstDue || first != shapedFirst_ || TileDiffers(mask_, shownMask_, first);
    }
    const TShapeMask none;
    const TShapeMask& shown = hidden_ ? none : mask_;
    if (firstDue) shape_.Apply(window, shown, composited_, first);
    // One request per tile: the server answers other programs between them.
    for (const auto& tile : tiles_) {
        if (!tileDue(*tile)) continue;
        shape_.Apply(static_cast<std::uint32_t>(tile->winId()), shown, false, tile->Tile());
        tile->shaped = true;
    }
    shapeMark_ = shape_.Mark();
    shapeRetry_.start();
    std::swap(shownMask_, mask_);
    shapeHidden_ = hidden_;
    shapedFrame_ = frame;
    shapedFirst_ = first;
    firstTileShaped_ = true;
    shapeSet_ = true;
    if (recut) RevealTiles(IsVisible());  // tiles made for the new cut
}

void TQtWindow::ShapeAnswerCheck() {
    if (shapeMark_ != 0 && !shape_.Answered(shapeMark_)) {
        shapeRetry_.start();
        return;
    }
    shapeMark_ = 0;
    // The change that waited is built again from the surface as it is now.
    if (shapeWaiting_) UpdateShape();
}

void TQtWindow::PaintRequested(QPainter& painter) {
    // Only a stale surface is composed anew. A current one (right after a
    // paint at once, with any hover feedback drawn on it since, or when the
    // server just wants uncovered parts back) is shown as it stands: composing
    // would wipe the feedback and double the work of every resize step.
    if (stale_) {
        inPaint_ = true;
        events_.OnPaint();
        inPaint_ = false;
        for (const auto& tile : tiles_)
            if (tile->isVisible() && !tile->Tile().Empty()) tile->update();
    }
    if (!surface_) return;
    const TImage& front = surface_->Picture();
    const std::int32_t w = front.Width();
    const std::int32_t h = front.Height();
    if (w <= 0 || h <= 0) return;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (composited_) {
        if (argb_.size() != static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) UpdateShape();
        const QImage image(reinterpret_cast<const uchar*>(argb_.data()), w, h, w * 4, QImage::Format_ARGB32_Premultiplied);
        painter.drawImage(0, 0, image);
    } else {
        const QImage image(reinterpret_cast<const uchar*>(front.Data()), w, h, front.Stride(), QImage::Format_RGB32);
        painter.drawImage(0, 0, image);
    }
    if (widget_->windowHandle() && widget_->windowHandle()->isExposed()) FirstPaintDone();
}

void TQtWindow::FirstPaintDone() {
    if (paintedOnScreen_) return;
    paintedOnScreen_ = true;
    // The tasks run after Qt has handed this picture to the server.
    for (std::function<void()>& task : afterFirstPaint_) QTimer::singleShot(0, widget_.get(), std::move(task));
    afterFirstPaint_.clear();
}

void TQtWindow::SetCursor(TCursor cursor) {
    widget_->setCursor(QtCursor(cursor));
    for (const auto& tile : tiles_) tile->setCursor(QtCursor(cursor));
}

void TQtWindow::SetHint(std::string_view text) {
    hint_.assign(text);
    const QString q = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    widget_->setToolTip(hintsEnabled_ ? q : QString());
    // A tooltip on display keeps its old text unless it is shown again.
    if (hintsEnabled_ && !q.isEmpty() && QToolTip::isVisible()) QToolTip::showText(QCursor::pos(), q, widget_.get());
}

void TQtWindow::CancelHint() { QToolTip::hideText(); }

void TQtWindow::SetHintsEnabled(bool enabled) {
    hintsEnabled_ = enabled;
    widget_->setToolTip(enabled ? QString::fromStdString(hint_) : QString());
    if (!enabled) QToolTip::hideText();
}

int TQtWindow::Dpi() const {
    const QScreen* screen = widget_->screen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : 96;
}

void TQtWindow::ActivationChanged() {
    const bool active = widget_->isActiveWindow();
    if (active == wasActive_) return;
    wasActive_ = active;
    if (active)
        events_.OnActivate();
    else
        events_.OnDeactivate();
}

void TQtWindow::Closing() {
    // The window manager and Close may both ask; the handler runs once.
    if (closed_) return;
    closed_ = true;
    ShowTiles(false);
    events_.OnClose();
    if (main_) system_.Quit(0);
}

void TQtWindow::Minimised(bool minimised) {
    ShowTiles(!minimised && widget_->isVisible());
    if (!minimised) system_.Restored(this);
}

void TQtWindow::DpiMaybeChanged() {
    const int dpi = Dpi();
    if (dpi == dpi_) return;
    dpi_ = dpi;
    events_.OnDpiChanged(dpi);
}

}  // namespace ratiscope
