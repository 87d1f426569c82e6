// The one-line edit and the spin buttons bound to it.
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include <functional>

#include "platform/qt/QtControlBase.h"

namespace ratiscope {

// A line edit that reports every key before it acts on it, steps its bound
// spin buttons with Up and Down, and reports losing the focus.
class TQtLineEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void(TKey key)> keyDown;
    std::function<bool(int step)> step;  // true when spin buttons took the step
    std::function<void()> focusLost;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

class TQtEdit final : public TQtControl<IEdit, TQtLineEdit> {
public:
    TQtEdit(QWidget* parent, std::string_view name);
    std::string Text() const override { return StdString(W()->text()); }
    void SetText(std::string_view text) override;
};

class TQtUpDown final : public TQtControl<IUpDown, QWidget> {
public:
    TQtUpDown(QWidget* parent, std::string_view name, TQtEdit& buddy);
    void SetBounds(TRect bounds) override;
    void SetRange(std::int32_t min, std::int32_t max) override;
    std::int32_t Min() const override { return min_; }
    std::int32_t Max() const override { return max_; }
    std::int32_t Position() const override;
    void SetPosition(std::int32_t value) override;
    // One step up (+1) or down (-1) from the position the field shows.
    void Step(int step) { SetPosition(Position() + step); }

private:
    TQtEdit& buddy_;
    QToolButton* up_;
    QToolButton* down_;
    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    std::int32_t position_ = 0;
};

}  // namespace ratiscope
