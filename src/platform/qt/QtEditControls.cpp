// The one-line edit and its spin buttons on Qt.
#include "platform/qt/QtEditControls.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>
#include <charconv>

#include "platform/qt/QtKeys.h"

namespace ratiscope {

void TQtLineEdit::keyPressEvent(QKeyEvent* e) {
    if (keyDown) keyDown(VirtualKeyFromQt(e->key(), e->modifiers()));
    if ((e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) && step && step(e->key() == Qt::Key_Up ? 1 : -1)) {
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TQtLineEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // Leaving the field means the focus went to another control of the window;
    // switching to another window or opening a menu leaves the field as it is.
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    if (focusLost) focusLost();
}

TQtEdit::TQtEdit(QWidget* parent, std::string_view name) : TQtControl(new TQtLineEdit(parent), name) {
    W()->keyDown = [this](TKey key) {
        if (OnKeyDown) OnKeyDown(key);
    };
    W()->focusLost = [this] {
        if (OnExit) OnExit();
    };
    QObject::connect(W(), &QLineEdit::textChanged, W(), [this] {
        if (OnChange) OnChange();
    });
}

void TQtEdit::SetText(std::string_view text) { W()->setText(QtString(text)); }

TQtUpDown::TQtUpDown(QWidget* parent, std::string_view name, TQtEdit& buddy)
    : TQtControl(new QWidget(parent), name), buddy_(buddy), up_(new QToolButton(W())), down_(new QToolButton(W())) {
    for (QToolButton* b : {up_, down_}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
    }
    // A click on the arrows must not hand the focus on to the window, which
    // would take it from the field being typed in: the click's focus goes to
    // the field itself, where it mostly is already.
    W()->setFocusPolicy(Qt::ClickFocus);
    W()->setFocusProxy(buddy_.W());
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setObjectName(W()->objectName() + "Up");
    down_->setObjectName(W()->objectName() + "Down");
    QObject::connect(up_, &QToolButton::clicked, W(), [this] { Step(1); });
    QObject::connect(down_, &QToolButton::clicked, W(), [this] { Step(-1); });
    buddy_.W()->step = [this](int s) {
        Step(s);
        return true;
    };
}

void TQtUpDown::SetBounds(TRect b) {
    TQtControl::SetBounds(b);
    const int half = b.Height() / 2;
    up_->setGeometry(0, 0, b.Width(), half);
    down_->setGeometry(0, half, b.Width(), b.Height() - half);
}

void TQtUpDown::SetRange(std::int32_t min, std::int32_t max) {
    min_ = std::clamp(min, -32768, 32767);
    max_ = std::clamp(max, -32768, 32767);
    if (max_ < min_) max_ = min_;
}

std::int32_t TQtUpDown::Position() const {
    const std::string text = buddy_.Text();
    long long v = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, ec] = std::from_chars(first, last, v);
    if (text.empty() || ec != std::errc() || end != last) return position_;
    return static_cast<std::int32_t>(std::clamp<long long>(v, min_, max_));
}

void TQtUpDown::SetPosition(std::int32_t value) {
    position_ = std::clamp(value, min_, max_);
    buddy_.SetText(std::to_string(position_));
}

}  // namespace ratiscope
