// The plain Qt controls.
#include "platform/qt/QtSimpleControls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOption>
#include <QPixmap>

#include <algorithm>

namespace ratiscope {

TQtPanelWidget::TQtPanelWidget(QWidget* parent, std::function<bool()> pressDefault)
    : QWidget(parent), pressDefault_(std::move(pressDefault)) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

void TQtPanelWidget::mousePressEvent(QMouseEvent* e) { e->accept(); }

void TQtPanelWidget::mouseReleaseEvent(QMouseEvent* e) { e->accept(); }

void TQtPanelWidget::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }

void TQtPanelWidget::keyPressEvent(QKeyEvent* e) {
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && e->modifiers() == Qt::NoModifier && pressDefault_ && pressDefault_()) {
        e->accept();
        return;
    }
    e->ignore();  // on to the window, whose key handler sees every key
}

TQtLabel::TQtLabel(QWidget* parent, std::string_view name, TLabelSizing sizing)
    : TQtControl(new QLabel(parent), name), sizing_(sizing) {
    // Language files are outside input: shown as plain text, never as markup.
    W()->setTextFormat(Qt::PlainText);
    W()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    W()->setWordWrap(sizing == TLabelSizing::FixedWrap);
}

void TQtLabel::Fit() {
    if (sizing_ == TLabelSizing::AutoSize) W()->resize(W()->sizeHint());
}

void TQtLabel::SetBounds(TRect b) {
    if (sizing_ == TLabelSizing::AutoSize) {
        W()->move(b.left, b.top);
        Fit();
    } else {
        TQtControl::SetBounds(b);
    }
}

void TQtLabel::SetFont(const TFont& font) {
    TQtControl::SetFont(font);
    Fit();
}

void TQtLabel::SetCaption(std::string_view text) {
    W()->setText(QtString(text));
    Fit();
}

void TQtPushButtonWidget::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && e->modifiers() == Qt::NoModifier) {
        animateClick();
        e->accept();
        return;
    }
    QPushButton::keyPressEvent(e);
}

void TQtPushButtonWidget::paintEvent(QPaintEvent* e) {
    QPushButton::paintEvent(e);
    if (!hasFocus()) return;
    QPainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.state |= QStyle::State_KeyboardFocusChange;
    constexpr int kInset = 3;
    focus.rect = rect().adjusted(kInset, kInset, -kInset, -kInset);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

TQtButton::TQtButton(QWidget* parent, std::string_view name, std::function<void(TQtButton*, bool)> setDefault)
    : TQtControl(new TQtPushButtonWidget(parent), name), setDefault_(std::move(setDefault)) {
    W()->setAutoDefault(false);
    QObject::connect(W(), &QPushButton::clicked, W(), [this] {
        if (OnClick) OnClick();
    });
}

void TQtButton::SetDefault(bool isDefault) {
    W()->setDefault(isDefault);
    if (setDefault_) setDefault_(this, isDefault);
}

bool TQtButton::PressIfShown() {
    if (!W()->isVisible() || !W()->isEnabled()) return false;
    W()->click();
    return true;
}

TQtPicture::TQtPicture(QWidget* parent, std::string_view name) : TQtControl(new QLabel(parent), name) {
    W()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TQtPicture::SetPicture(const TIcon& icon) {
    if (icon.Empty()) {
        image_ = QImage();
    } else {
        image_ = QImage(icon.Width(), icon.Height(), QImage::Format_ARGB32);
        for (std::int32_t y = 0; y < icon.Height(); ++y)
            for (std::int32_t x = 0; x < icon.Width(); ++x) {
                const TPixel p = icon.Image().At(x, y);
                image_.setPixel(x, y, icon.Opaque(x, y) ? (p | 0xFF000000u) : 0u);
            }
    }
    Fit();
}

void TQtPicture::SetBounds(TRect b) {
    TQtControl::SetBounds(b);
    Fit();
}

void TQtPicture::Fit() {
    if (image_.isNull()) {
        W()->setPixmap(QPixmap());
        return;
    }
    // Only a picture larger than its box is scaled, and then keeping its proportions.
    QImage shown = image_;
    if (image_.width() > W()->width() || image_.height() > W()->height())
        shown = image_.scaled(std::max(1, W()->width()), std::max(1, W()->height()), Qt::KeepAspectRatio,
                              Qt::SmoothTransformation);
    W()->setPixmap(QPixmap::fromImage(shown));
}

TQtTrackBar::TQtTrackBar(QWidget* parent, std::string_view name)
    : TQtControl(new QSlider(Qt::Horizontal, parent), name) {
    W()->setTickPosition(QSlider::TicksBothSides);
    W()->setSingleStep(1);
    QObject::connect(W(), &QSlider::valueChanged, W(), [this] {
        if (!quiet_ && OnChange) OnChange();
    });
}

void TQtTrackBar::SetRange(std::int32_t min, std::int32_t max) {
    quiet_ = true;
    W()->setRange(min, max);
    quiet_ = false;
}

void TQtTrackBar::SetPosition(std::int32_t value) {
    quiet_ = true;
    W()->setValue(value);
    quiet_ = false;
}

}  // namespace ratiscope
