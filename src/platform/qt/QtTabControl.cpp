// Multi-row tabs drawn with the style's own tab pictures.
#include "platform/qt/QtTabControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include <algorithm>

#include "platform/qt/TabRows.h"

namespace ratiscope {

namespace {

constexpr int kMargin = 2;  // around the tab rows, as a native tab control leaves it

}  // namespace

TQtTabWidget::TQtTabWidget(QWidget* parent, std::function<bool()> pressDefault)
    : QWidget(parent), pressDefault_(std::move(pressDefault)) {
    // Not ClickFocus: a click on a page's empty area or on a control that takes
    // no focus (spin buttons) would hand the focus up to the tab control and
    // take it from the field being edited. A click on a tab focuses it below.
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

TQtPanelWidget* TQtTabWidget::AddPage() {
    auto* page = new TQtPanelWidget(this, pressDefault_);
    page->hide();
    pages_.push_back(page);
    captions_.emplace_back();
    Relayout();
    return page;
}

void TQtTabWidget::SetCaption(int page, const QString& text) {
    if (page < 0 || page >= PageCount()) return;
    captions_[static_cast<std::size_t>(page)] = text;
    Relayout();
}

QString TQtTabWidget::Caption(int page) const {
    return page >= 0 && page < PageCount() ? captions_[static_cast<std::size_t>(page)] : QString();
}

void TQtTabWidget::SetActive(int page) {
    if (page < 0 || page >= PageCount()) page = -1;
    active_ = page;
    for (int i = 0; i < PageCount(); ++i) pages_[static_cast<std::size_t>(i)]->setVisible(i == active_);
    Relayout();
}

QRect TQtTabWidget::TabRect(int page) const {
    return page >= 0 && page < static_cast<int>(tabs_.size()) ? tabs_[static_cast<std::size_t>(page)] : QRect();
}

QRect TQtTabWidget::PageArea() const { return QRect(0, stripHeight_, width(), std::max(0, height() - stripHeight_)); }

void TQtTabWidget::Relayout() {
    // Tabs as narrow as a native tab control draws them (text and a small
    // padding), scaled with the font; the style's own tabs are far wider.
    const QFontMetrics fm(font());
    const int hpad = std::max(4, (fm.height() * 3 + 2) / 5);
    const int vpad = std::max(3, (fm.height() + 2) / 4);
    const int tabHeight = fm.height() + 2 * vpad + 4;
    std::vector<std::int32_t> widths;
    for (const QString& caption : captions_)
        widths.push_back(fm.size(Qt::TextShowMnemonic, caption).width() + 2 * hpad);
    const int available = std::max(1, width() - 2 * kMargin);
    const std::vector<TRect> rects = TabRects(widths, available, tabHeight, active_ < 0 ? 0 : active_);
    tabs_.clear();
    int bottom = 0;
    for (const TRect& r : rects) {
        tabs_.emplace_back(r.left + kMargin, r.top + kMargin, r.Width(), r.Height());
        bottom = std::max(bottom, r.bottom + kMargin);
    }
    stripHeight_ = bottom;
    // The page's controls sit inside the frame, a little in from it.
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) + kMargin;
    const QRect inner = PageArea().adjusted(frame, frame, -frame, -frame);
    for (TQtPanelWidget* page : pages_) page->setGeometry(inner);
    update();
}

void TQtTabWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = PageArea();
    frame.shape = QTabBar::RoundedNorth;
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &p, this);
    // The chosen tab last, so it overlaps its neighbours and joins its page.
    std::vector<int> order;
    for (int i = 0; i < PageCount(); ++i)
        if (i != active_) order.push_back(i);
    if (active_ >= 0) order.push_back(active_);
    const QPoint mouse = mapFromGlobal(QCursor::pos());
    for (int i : order) {
        QStyleOptionTab opt;
        opt.initFrom(this);
        opt.shape = QTabBar::RoundedNorth;
        opt.rect = tabs_[static_cast<std::size_t>(i)];
        opt.text = captions_[static_cast<std::size_t>(i)];
        opt.position = PageCount() == 1 ? QStyleOptionTab::OnlyOneTab : QStyleOptionTab::Middle;
        opt.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        if (i == active_) opt.state |= QStyle::State_Selected;
        if (opt.rect.contains(mouse) && underMouse()) opt.state |= QStyle::State_MouseOver;
        // The style's shape, our own label: the style's label keeps a padding
        // wider than these tabs have.
        style()->drawControl(QStyle::CE_TabBarTabShape, &opt, &p, this);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(opt.rect.adjusted(0, i == active_ ? 0 : 1, 0, 0), Qt::AlignCenter | Qt::TextShowMnemonic, opt.text);
        if (i == active_ && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = opt.rect.adjusted(3, 3, -3, -3);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
        }
    }
}

void TQtTabWidget::UserChoose(int page) {
    if (page == active_) return;
    SetActive(page);
    if (changed) changed();
}

void TQtTabWidget::StepPage(int step) {
    const int count = PageCount();
    if (count == 0) return;
    const int page = active_ < 0 ? 0 : ((active_ + step) % count + count) % count;
    QWidget* focus = QApplication::focusWidget();
    const bool focusOnPage = focus && focus != this && isAncestorOf(focus);
    UserChoose(page);
    if (focusOnPage) setFocus(Qt::TabFocusReason);
}

void TQtTabWidget::mousePressEvent(QMouseEvent* e) {
    e->accept();
    const QPoint at = e->position().toPoint();
    for (int i = 0; i < static_cast<int>(tabs_.size()); ++i)
        if (tabs_[static_cast<std::size_t>(i)].contains(at)) {
            setFocus(Qt::MouseFocusReason);
            UserChoose(i);
            return;
        }
}

void TQtTabWidget::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    update();  // the hot tab follows the pointer
    if (moved) moved();
}

void TQtTabWidget::keyPressEvent(QKeyEvent* e) {
    const bool back = e->key() == Qt::Key_Left;
    const bool forward = e->key() == Qt::Key_Right;
    if ((back || forward) && PageCount() > 0) {
        const int from = active_ < 0 ? 0 : active_;
        UserChoose(std::clamp(from + (active_ < 0 ? 0 : (forward ? 1 : -1)), 0, PageCount() - 1));
        e->accept();
        return;
    }
    e->ignore();  // Enter and the function keys go on to the panel and the window
}

void TQtTabWidget::resizeEvent(QResizeEvent*) { Relayout(); }

void TQtTabWidget::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) Relayout();
    QWidget::changeEvent(e);
}

TQtTabControl::TQtTabControl(QWidget* parent, std::string_view name, std::function<bool()> pressDefault)
    : TQtControl(new TQtTabWidget(parent, std::move(pressDefault)), name) {
    W()->changed = [this] {
        if (OnChange) OnChange();
    };
    W()->moved = [this] {
        if (OnMouseMove) OnMouseMove();
    };
}

IContainer& TQtTabControl::AddPage(std::string_view name) {
    pages_.push_back(std::make_unique<TQtContainer>(W()->AddPage(), name));
    return *pages_.back();
}

TRect TQtTabControl::TabRect(std::int32_t page) const {
    const QRect r = W()->TabRect(page);
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

}  // namespace ratiscope
