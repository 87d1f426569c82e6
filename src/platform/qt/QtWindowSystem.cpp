// Application-wide window services on Qt: creating windows, activation of the
// whole program, cursors, tooltips, screens, minimising and the message loop.
#include "platform/qt/QtWindowSystem.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/qt/QtTermination.h"
#include "platform/qt/QtWindow.h"
#include "platform/qt/QtX11Windows.h"

namespace ratiscope {

namespace {

TRect RectFromQt(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

QString QtText(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Squared distance from a point to a rectangle; 0 inside it.
long long DistanceSquared(const QRect& r, const QPoint& p) {
    const long long dx = p.x() < r.left() ? r.left() - p.x() : (p.x() > r.right() ? p.x() - r.right() : 0);
    const long long dy = p.y() < r.top() ? r.top() - p.y() : (p.y() > r.bottom() ? p.y() - r.bottom() : 0);
    return dx * dx + dy * dy;
}

}  // namespace

TQtWindowSystem::TQtWindowSystem(std::function<std::unique_ptr<IOffscreen>()> surfaces)
    : surfaces_(std::move(surfaces)),
      termination_(std::make_unique<TQtTermination>([this] { return CloseMainWindow(); })),
      context_(std::make_unique<QObject>()) {
    // Only the main window's close ends the program, whatever else is shown.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, context_.get(),
                     [this, last = Qt::ApplicationInactive](Qt::ApplicationState state) mutable {
                         if (state == last || !appEvents_) return;
                         last = state;
                         if (state == Qt::ApplicationActive)
                             appEvents_->OnApplicationActivate();
                         else if (state == Qt::ApplicationInactive)
                             appEvents_->OnApplicationDeactivate();
                     });
}

TQtWindowSystem::~TQtWindowSystem() = default;

std::unique_ptr<IWindow> TQtWindowSystem::CreateWindow(IWindowEvents& events, const TWindowOptions& options) {
    auto window = std::make_unique<TQtWindow>(*this, events, options, surfaces_ ? surfaces_() : nullptr);
    windows_.push_back(window.get());
    if (options.mainWindow) main_ = window.get();
    return window;
}

void TQtWindowSystem::AfterFirstPaint(IWindow& window, std::function<void()> task) {
    for (TQtWindow* w : windows_)
        if (static_cast<IWindow*>(w) == &window) {
            w->AfterFirstPaint(std::move(task));
            return;
        }
    task();
}

void TQtWindowSystem::Forget(TQtWindow* window) {
    std::erase(windows_, window);
    if (main_ == window) main_ = nullptr;
    std::erase(minimised_, window);
}

// Not Qt's application display name: Qt appends that to the title of every
// window, so the windows would no longer carry their own titles as given.
void TQtWindowSystem::SetApplicationTitle(std::string_view title) { applicationTitle_.assign(title); }

void TQtWindowSystem::SetApplicationEvents(IApplicationEvents* events) { appEvents_ = events; }

void TQtWindowSystem::SetOverrideCursor(TCursor cursor) {
    const Qt::CursorShape shape = cursor == TCursor::SizeNWSE    ? Qt::SizeFDiagCursor
                                  : cursor == TCursor::HandPoint ? Qt::PointingHandCursor
                                                                 : Qt::ArrowCursor;
    QGuiApplication::setOverrideCursor(QCursor(shape));
}

void TQtWindowSystem::ResetOverrideCursor() {
    // Qt stacks overrides; the default cursor means none at all.
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
}

void TQtWindowSystem::SetHintColor(TColor color) {
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, QColor(color & 0xFF, color >> 8 & 0xFF, color >> 16 & 0xFF));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(palette);
}

TRect TQtWindowSystem::WorkAreaNear(const IWindow& window) const {
    const TSize size = window.ClientSize();
    const QPoint centre(window.Left() + size.width / 2, window.Top() + size.height / 2);
    QScreen* best = QGuiApplication::primaryScreen();
    long long bestDistance = std::numeric_limits<long long>::max();
    for (QScreen* screen : QGuiApplication::screens()) {
        const long long d = DistanceSquared(screen->geometry(), centre);
        if (d < bestDistance) {
            bestDistance = d;
            best = screen;
        }
    }
    return best ? RectFromQt(best->availableGeometry()) : TRect{0, 0, 640, 480};
}

TRect TQtWindowSystem::Desktop() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? RectFromQt(screen->virtualGeometry()) : TRect{0, 0, 640, 480};
}

std::int32_t TQtWindowSystem::PrimaryScreenWidth() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 640;
}

int TQtWindowSystem::ColorDepth() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

std::optional<TRect> TQtWindowSystem::ClientAreaBeneath(std::int32_t x, std::int32_t y) const {
    return X11ClientAreaBeneath(x, y);
}

void TQtWindowSystem::MinimizeApplication() {
    minimised_.clear();
    for (TQtWindow* w : windows_) {
        if (!w->IsVisible()) continue;
        w->Widget().showMinimized();
        minimised_.push_back(w);
    }
}

void TQtWindowSystem::Restored(TQtWindow* window) {
    if (std::find(minimised_.begin(), minimised_.end(), window) == minimised_.end()) return;
    const std::vector<TQtWindow*> others = std::exchange(minimised_, {});
    for (TQtWindow* w : others)
        if (w != window) w->Widget().showNormal();
}

void TQtWindowSystem::ShowMessage(TMessageKind kind, std::string_view caption, std::string_view text) {
    const QString title = QtText(caption.empty() ? std::string_view(applicationTitle_) : caption);
    if (kind == TMessageKind::Error)
        QMessageBox::critical(nullptr, title, QtText(text));
    else
        QMessageBox::warning(nullptr, title, QtText(text));
}

bool TQtWindowSystem::CloseMainWindow() {
    if (quitting_) return false;
    if (main_) {
        main_->Close();
        return true;
    }
    if (!closeLinkedMain_) return false;
    // A copy: the close may end the link.
    const std::function<void()> close = closeLinkedMain_;
    close();
    return true;
}

TTerminationLink TQtWindowSystem::OnTermination(std::function<void()> close) {
    closeLinkedMain_ = std::move(close);
    return TTerminationLink([this, id = ++linkId_] { Unlink(id); });
}

void TQtWindowSystem::Unlink(std::uint64_t id) {
    if (id == linkId_) closeLinkedMain_ = nullptr;
}

int TQtWindowSystem::Run() {
    // A request that came while the program was still starting is served first.
    QTimer::singleShot(0, context_.get(), [this] { termination_->RunPending(); });
    return QApplication::exec();
}

void TQtWindowSystem::Quit(int exitCode) {
    quitting_ = true;
    QCoreApplication::exit(exitCode);
}

}  // namespace ratiscope
