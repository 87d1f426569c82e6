// The wheel and the page keys of a window with controls, taken at the window
// before Qt hands them to a control.
#include "platform/qt/QtWindowInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include "platform/qt/QtTabControl.h"

namespace ratiscope {

TQtWindowInput::TQtWindowInput(QWidget& host) : host_(host), topLevel_(host.window()) {
    // Events reach the native window before Qt picks the control they go to.
    // That window is made when the window is first shown; the top-level
    // widget says when.
    topLevel_->installEventFilter(this);
    WatchNativeWindow();
}

TQtWindowInput::~TQtWindowInput() {
    if (watched_) watched_->removeEventFilter(this);
    if (topLevel_) topLevel_->removeEventFilter(this);
}

void TQtWindowInput::WatchNativeWindow() {
    QObject* window = topLevel_ ? topLevel_->windowHandle() : nullptr;
    if (!window || window == watched_) return;
    if (watched_) watched_->removeEventFilter(this);
    watched_ = window;
    watched_->installEventFilter(this);
}

void TQtWindowInput::AddTabWidget(TQtTabWidget* tabs) { tabs_.emplace_back(tabs); }

int TQtWindowInput::PageStepOf(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (key.key()) {
    case Qt::Key_Tab:
        if (mods == Qt::ControlModifier) return 1;
        if (mods == (Qt::ControlModifier | Qt::ShiftModifier)) return -1;
        return 0;
    case Qt::Key_Backtab:  // what X11 sends for Shift+Tab
        return mods == (Qt::ControlModifier | Qt::ShiftModifier) ? -1 : 0;
    case Qt::Key_PageDown: return mods == Qt::ControlModifier ? 1 : 0;
    case Qt::Key_PageUp: return mods == Qt::ControlModifier ? -1 : 0;
    default: return 0;
    }
}

bool TQtWindowInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched == topLevel_ && event->type() == QEvent::WinIdChange) WatchNativeWindow();
    if (watched != watched_) return false;
    if (event->type() == QEvent::Wheel) return Wheel(*static_cast<QWheelEvent*>(event));
    if (event->type() == QEvent::KeyPress) return PageKey(*static_cast<QKeyEvent*>(event));
    return false;
}

bool TQtWindowInput::Wheel(const QWheelEvent& wheel) {
    // The focused control treats the wheel wherever the pointer is; without
    // one in this window the window itself gets it, never the control under
    // the pointer, which would change a setting the user is not looking at.
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus && focus->window() == host_.window() ? focus : host_.window();
    QWheelEvent copy(target->mapFromGlobal(wheel.globalPosition()), wheel.globalPosition(), wheel.pixelDelta(),
                     wheel.angleDelta(), wheel.buttons(), wheel.modifiers(), wheel.phase(), wheel.inverted(),
                     wheel.source());
    QApplication::sendEvent(target, &copy);
    return true;
}

bool TQtWindowInput::PageKey(const QKeyEvent& key) {
    const int step = PageStepOf(key);
    if (step == 0) return false;
    // The tab control that holds the focus, else the window's first.
    QWidget* focus = QApplication::focusWidget();
    TQtTabWidget* chosen = nullptr;
    for (const QPointer<TQtTabWidget>& tabs : tabs_) {
        if (!tabs || !tabs->isVisible()) continue;
        if (!chosen) chosen = tabs;
        if (focus && (focus == tabs || tabs->isAncestorOf(focus))) {
            chosen = tabs;
            break;
        }
    }
    if (!chosen) return false;
    chosen->StepPage(step);
    return true;
}

}  // namespace ratiscope
