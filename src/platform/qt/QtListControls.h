// The list controls on Qt: drop-down lists (editable or not), the colour
// list with its custom colour dialog, and the list with a check box per entry.
#pragma once

#include <QComboBox>
#include <QListWidget>

#include <algorithm>

#include "platform/qt/QtControlBase.h"

namespace ratiscope {

class TQtComboBox final : public TQtControl<IComboBox, QComboBox> {
public:
    TQtComboBox(QWidget* parent, std::string_view name, TComboStyle style);
    ~TQtComboBox() override;
    std::int32_t ItemCount() const override { return W()->count(); }
    std::string ItemText(std::int32_t index) const override { return StdString(W()->itemText(index)); }
    void SetItemText(std::int32_t index, std::string_view text) override;
    void Clear() override;
    std::int32_t ItemIndex() const override;
    void SetItemIndex(std::int32_t index) override;
    std::string Text() const override;
    void SetText(std::string_view text) override;
    void SetDropDownCount(std::int32_t rows) override { W()->setMaxVisibleItems(std::max(1, rows)); }

private:
    class TKeyFilter;
    // No entry selected; an editable box shows `editText` in its field.
    void Deselect(const QString& editText);
    bool editable_;
    // Set once the selection is gone although Qt still has a current entry:
    // the user typed, or the program put a text or replaced an entry.
    bool deselected_ = false;
    std::unique_ptr<TKeyFilter> filter_;
};

class TQtColorBox final : public TQtControl<IColorBox, QComboBox> {
public:
    TQtColorBox(QWidget* parent, std::string_view name);
    void SetSelected(TColor color) override;
    TColor Selected() const override { return ItemColor(W()->currentIndex()); }
    std::int32_t ItemIndex() const override { return W()->currentIndex(); }
    std::int32_t ItemCount() const override { return W()->count(); }
    std::string ItemText(std::int32_t index) const override { return StdString(W()->itemText(index)); }
    TColor ItemColor(std::int32_t index) const override;
    void SetItemText(std::int32_t index, std::string_view text) override;
    void SetItemHeight(std::int32_t pixels) override;

private:
    void Chosen(int index);
    void Paint(int index);
    // A swatch leaves two pixels of the row free above and below.
    int SwatchHeight() const { return std::max(4, itemHeight_ - 4); }
    TColor custom_ = 0;
    int last_ = 0;  // the entry before the user's choice, for a cancelled dialog
    std::int32_t itemHeight_ = 16;
};

class TQtCheckListBox final : public TQtControl<ICheckListBox, QListWidget> {
public:
    TQtCheckListBox(QWidget* parent, std::string_view name);
    ~TQtCheckListBox() override;
    std::int32_t ItemCount() const override { return W()->count(); }
    std::string ItemText(std::int32_t index) const override;
    void SetItemText(std::int32_t index, std::string_view text) override;
    bool Checked(std::int32_t index) const override;
    void SetChecked(std::int32_t index, bool checked) override;
    std::int32_t ItemIndex() const override { return W()->currentRow(); }
    void SetItemIndex(std::int32_t index) override;
    void SetItemHeight(std::int32_t pixels) override;
    void SetHorizontalExtent(std::int32_t pixels) override;
    void SetFont(const TFont& font) override;
    void Repaint() override { W()->viewport()->update(); }

private:
    class TMoveFilter;
    void SizeItems();
    bool quiet_ = false;  // set while the program changes entries
    std::int32_t itemHeight_ = 11;
    std::int32_t extent_ = 0;
    std::unique_ptr<TMoveFilter> filter_;
};

}  // namespace ratiscope
