// Drop-down lists, the colour list and the check list on Qt.
#include "platform/qt/QtListControls.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

#include "platform/qt/QtKeys.h"

namespace ratiscope {

namespace {

// Rows of a fixed height in a list view.
class TFixedRowDelegate final : public QStyledItemDelegate {
public:
    TFixedRowDelegate(QObject* parent, const std::int32_t& height) : QStyledItemDelegate(parent), height_(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(std::max<int>(height_, 1));
        return s;
    }

private:
    const std::int32_t& height_;
};

// A drop-down whose rows take the colour list's item height. Its list view is
// made only when the list first opens, with the row delegate, so a colour box
// that is never opened costs no list view.
class TColorDropDown final : public QComboBox {
public:
    TColorDropDown(QWidget* parent, const std::int32_t& rowHeight) : QComboBox(parent), rowHeight_(rowHeight) {}
    void showPopup() override {
        if (!delegateSet_) {
            setItemDelegate(new TFixedRowDelegate(this, rowHeight_));
            delegateSet_ = true;
        }
        QComboBox::showPopup();
    }

private:
    const std::int32_t& rowHeight_;
    bool delegateSet_ = false;
};

// The swatch of one colour entry: the colour inside a one-pixel black frame.
// Filled by hand: a painter on each of the twenty small pictures would keep a
// paint engine alive beside every one of them.
QPixmap Swatch(TColor color, int height) {
    QImage swatch(2 * height, height, QImage::Format_RGB32);
    swatch.fill(Qt::black);
    const QRgb inside = QtColor(color).rgb();
    for (int y = 1; y < height - 1; ++y) {
        auto* row = reinterpret_cast<QRgb*>(swatch.scanLine(y));
        std::fill(row + 1, row + swatch.width() - 1, inside);
    }
    return QPixmap::fromImage(std::move(swatch));
}

}  // namespace

// Reports every key to OnKeyDown before the box acts on it; Enter in an
// editable box goes no further, so Qt does not pick an entry by its text.
class TQtComboBox::TKeyFilter final : public QObject {
public:
    explicit TKeyFilter(TQtComboBox& box) : box_(box) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if (box_.OnKeyDown) box_.OnKeyDown(VirtualKeyFromQt(k->key(), k->modifiers()));
        return box_.editable_ && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter);
    }

private:
    TQtComboBox& box_;
};

TQtComboBox::TQtComboBox(QWidget* parent, std::string_view name, TComboStyle style)
    : TQtControl(new QComboBox(parent), name),
      editable_(style == TComboStyle::Editable),
      filter_(std::make_unique<TKeyFilter>(*this)) {
    if (editable_) {
        W()->setEditable(true);
        W()->setInsertPolicy(QComboBox::NoInsert);
        W()->setCompleter(nullptr);  // what the user types stays as typed
        QObject::connect(W()->lineEdit(), &QLineEdit::textEdited, W(), [this] { deselected_ = true; });
    }
    W()->installEventFilter(filter_.get());
    QObject::connect(W(), &QComboBox::activated, W(), [this] {
        deselected_ = false;
        if (OnSelect) OnSelect();
    });
}

TQtComboBox::~TQtComboBox() {
    if (W()) W()->removeEventFilter(filter_.get());
}

void TQtComboBox::Deselect(const QString& editText) {
    W()->setCurrentIndex(-1);
    if (editable_) W()->setEditText(editText);
    deselected_ = false;
}

void TQtComboBox::SetItemText(std::int32_t index, std::string_view text) {
    if (index < 0 || index > W()->count()) return;
    if (index == W()->count()) {
        // Qt selects the first entry added to an empty list; the box selects nothing by itself.
        const bool none = ItemIndex() < 0;
        const QString shown = W()->currentText();
        W()->addItem(QtString(text));
        if (none && W()->currentIndex() >= 0) Deselect(shown);
        return;
    }
    // Qt rewrites the field when the current entry is renamed; the field keeps its text.
    const QString shown = W()->currentText();
    W()->setItemText(index, QtString(text));
    Deselect(shown);
}

void TQtComboBox::Clear() {
    W()->clear();
    deselected_ = false;
}

std::int32_t TQtComboBox::ItemIndex() const { return deselected_ ? -1 : W()->currentIndex(); }

void TQtComboBox::SetItemIndex(std::int32_t index) {
    W()->setCurrentIndex(index >= 0 && index < W()->count() ? index : -1);
    deselected_ = false;
}

std::string TQtComboBox::Text() const {
    if (editable_) return StdString(W()->currentText());
    return W()->currentIndex() >= 0 ? StdString(W()->currentText()) : std::string();
}

void TQtComboBox::SetText(std::string_view text) {
    if (!editable_) return;
    W()->setEditText(QtString(text));
    deselected_ = true;
}

TQtColorBox::TQtColorBox(QWidget* parent, std::string_view name)
    : TQtControl(new TColorDropDown(parent, itemHeight_), name) {
    W()->addItem(QtString(kCustomColorName), QVariant::fromValue<uint>(custom_));
    for (const TNamedColor& c : kNamedColors) W()->addItem(QtString(c.name), QVariant::fromValue<uint>(c.color));
    W()->setMaxVisibleItems(W()->count());
    SetItemHeight(itemHeight_);
    QObject::connect(W(), &QComboBox::activated, W(), [this](int index) { Chosen(index); });
}

TColor TQtColorBox::ItemColor(std::int32_t index) const {
    if (index < 0 || index >= W()->count()) return 0;
    return static_cast<TColor>(W()->itemData(index).toUInt());
}

void TQtColorBox::SetItemText(std::int32_t index, std::string_view text) {
    if (index >= 0 && index < W()->count()) W()->setItemText(index, QtString(text));
}

void TQtColorBox::Paint(int index) {
    W()->setItemIcon(index, QIcon(Swatch(ItemColor(index), SwatchHeight())));
}

void TQtColorBox::SetItemHeight(std::int32_t pixels) {
    itemHeight_ = std::max(1, pixels);
    const int h = SwatchHeight();
    W()->setIconSize(QSize(2 * h, h));
    for (int i = 0; i < W()->count(); ++i) Paint(i);
}

void TQtColorBox::SetSelected(TColor color) {
    int index = 0;
    for (std::size_t i = 0; i < kNamedColors.size(); ++i)
        if (kNamedColors[i].color == color) {
            index = static_cast<int>(i) + 1;
            break;
        }
    if (index == 0) {
        custom_ = color;
        W()->setItemData(0, QVariant::fromValue<uint>(custom_));
        Paint(0);
    }
    W()->setCurrentIndex(index);
    last_ = index;
}

void TQtColorBox::Chosen(int index) {
    if (index == 0) {
        const QColor chosen = QColorDialog::getColor(QtColor(custom_), W());
        if (!chosen.isValid()) {
            W()->setCurrentIndex(last_);  // cancelled: the earlier choice stays
            return;
        }
        custom_ = ColorFromQt(chosen);
        W()->setItemData(0, QVariant::fromValue<uint>(custom_));
        Paint(0);
        W()->setCurrentIndex(0);
    }
    last_ = index;
    if (OnChange) OnChange();
}

// Reports the pointer moving over the entries.
class TQtCheckListBox::TMoveFilter final : public QObject {
public:
    explicit TMoveFilter(TQtCheckListBox& list) : list_(list) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseMove && list_.OnMouseMove) list_.OnMouseMove();
        return false;
    }

private:
    TQtCheckListBox& list_;
};

TQtCheckListBox::TQtCheckListBox(QWidget* parent, std::string_view name)
    : TQtControl(new QListWidget(parent), name), filter_(std::make_unique<TMoveFilter>(*this)) {
    W()->setEditTriggers(QAbstractItemView::NoEditTriggers);
    W()->setSelectionMode(QAbstractItemView::SingleSelection);
    W()->setUniformItemSizes(true);
    W()->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    W()->setTextElideMode(Qt::ElideNone);
    W()->viewport()->setMouseTracking(true);
    W()->viewport()->installEventFilter(filter_.get());
    QObject::connect(W(), &QListWidget::itemChanged, W(), [this] {
        if (!quiet_ && OnClickCheck) OnClickCheck();
    });
}

TQtCheckListBox::~TQtCheckListBox() {
    if (W()) W()->viewport()->removeEventFilter(filter_.get());
}

std::string TQtCheckListBox::ItemText(std::int32_t index) const {
    const QListWidgetItem* item = W()->item(index);
    return item ? StdString(item->text()) : std::string();
}

void TQtCheckListBox::SetItemText(std::int32_t index, std::string_view text) {
    if (index < 0 || index > W()->count()) return;
    quiet_ = true;
    if (index == W()->count()) {
        auto* item = new QListWidgetItem(QtString(text), W());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        SizeItems();
    } else {
        W()->item(index)->setText(QtString(text));
    }
    quiet_ = false;
}

bool TQtCheckListBox::Checked(std::int32_t index) const {
    const QListWidgetItem* item = W()->item(index);
    return item && item->checkState() == Qt::Checked;
}

void TQtCheckListBox::SetChecked(std::int32_t index, bool checked) {
    QListWidgetItem* item = W()->item(index);
    if (!item) return;
    quiet_ = true;
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    quiet_ = false;
}

void TQtCheckListBox::SetItemIndex(std::int32_t index) {
    W()->setCurrentRow(index >= 0 && index < W()->count() ? index : -1);
}

void TQtCheckListBox::SetItemHeight(std::int32_t pixels) {
    itemHeight_ = pixels;
    SizeItems();
}

void TQtCheckListBox::SetHorizontalExtent(std::int32_t pixels) {
    extent_ = pixels;
    SizeItems();
}

void TQtCheckListBox::SetFont(const TFont& font) {
    TQtControl::SetFont(font);
    SizeItems();
}

void TQtCheckListBox::SizeItems() {
    // Never lower than the text or the check box, so no entry is cut off.
    const int indicator = W()->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, W());
    const int height = std::max({itemHeight_, W()->fontMetrics().height(), indicator + 2});
    const int width = extent_ > 0 ? extent_ : W()->viewport()->width();
    quiet_ = true;
    for (int i = 0; i < W()->count(); ++i) W()->item(i)->setSizeHint(QSize(width, height));
    quiet_ = false;
}

}  // namespace ratiscope
