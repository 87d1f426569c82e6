// The plain Qt controls: containers, group box, labels, check boxes, radio
// buttons, push buttons, the picture and the track bar.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QWidget>

#include <functional>

#include "platform/Image.h"
#include "platform/qt/QtControlBase.h"

namespace ratiscope {

// A plain container in the dialog face colour. It takes the mouse clicks no
// child took, so they never reach the window behind (where a press would
// start dragging it), and it hands Enter that no child took to the default button.
class TQtPanelWidget final : public QWidget {
public:
    TQtPanelWidget(QWidget* parent, std::function<bool()> pressDefault);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    std::function<bool()> pressDefault_;
};

class TQtContainer final : public TQtControl<IContainer, QWidget> {
public:
    using TQtControl::TQtControl;
};

// The window's own client area: the host widget, which the window owns.
class TQtClientArea final : public IContainer {
public:
    explicit TQtClientArea(QWidget& host) : host_(host) {}
    QWidget& Host() { return host_; }
    // The client area is the window's: its place and size are the window's business.
    void SetBounds(TRect) override {}
    TRect Bounds() const override { return {0, 0, host_.width(), host_.height()}; }
    void SetFont(const TFont& font) override {
        font_ = font;
        host_.setFont(QtFont(font));
    }
    TFont Font() const override { return font_; }
    void SetFocus() override { host_.setFocus(Qt::OtherFocusReason); }
    bool Focused() const override { return host_.hasFocus(); }

private:
    QWidget& host_;
    TFont font_;
};

class TQtGroupBox final : public TQtControl<IGroupBox, QGroupBox> {
public:
    using TQtControl::TQtControl;
    void SetCaption(std::string_view text) override { W()->setTitle(QtString(text)); }
    std::string Caption() const override { return StdString(W()->title()); }
};

class TQtLabel final : public TQtControl<ILabel, QLabel> {
public:
    TQtLabel(QWidget* parent, std::string_view name, TLabelSizing sizing);
    void SetBounds(TRect bounds) override;
    void SetFont(const TFont& font) override;
    void SetCaption(std::string_view text) override;
    std::string Caption() const override { return StdString(W()->text()); }

private:
    void Fit();
    TLabelSizing sizing_;
};

template <class Interface, class Widget>
class TQtCheckable final : public TQtControl<Interface, Widget> {
public:
    TQtCheckable(QWidget* parent, std::string_view name) : TQtControl<Interface, Widget>(new Widget(parent), name) {
        // clicked comes from the user only, never from setChecked.
        QObject::connect(this->W(), &Widget::clicked, this->W(), [this] {
            if (this->OnClick) this->OnClick();
        });
    }
    void SetCaption(std::string_view text) override { this->W()->setText(QtString(text)); }
    std::string Caption() const override { return StdString(this->W()->text()); }
    bool Checked() const override { return this->W()->isChecked(); }
    void SetChecked(bool checked) override { this->W()->setChecked(checked); }
};

using TQtCheckBox = TQtCheckable<ICheckBox, QCheckBox>;
using TQtRadioButton = TQtCheckable<IRadioButton, QRadioButton>;

// A push button that Enter presses while it has the focus, as Space does.
class TQtPushButtonWidget final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    // The style draws a focused default button just like an unfocused one:
    // a focus frame inside the face shows where the keyboard is.
    void paintEvent(QPaintEvent* e) override;
};

class TQtButton final : public TQtControl<IButton, TQtPushButtonWidget> {
public:
    TQtButton(QWidget* parent, std::string_view name, std::function<void(TQtButton*, bool)> setDefault);
    void SetCaption(std::string_view text) override { W()->setText(QtString(text)); }
    std::string Caption() const override { return StdString(W()->text()); }
    void SetDefault(bool isDefault) override;
    // Clicks it when it is shown and enabled; false otherwise.
    bool PressIfShown();

private:
    std::function<void(TQtButton*, bool)> setDefault_;
};

class TQtPicture final : public TQtControl<IPicture, QLabel> {
public:
    TQtPicture(QWidget* parent, std::string_view name);
    void SetBounds(TRect bounds) override;
    void SetPicture(const TIcon& icon) override;

private:
    void Fit();
    QImage image_;
};

class TQtTrackBar final : public TQtControl<ITrackBar, QSlider> {
public:
    TQtTrackBar(QWidget* parent, std::string_view name);
    void SetRange(std::int32_t min, std::int32_t max) override;
    void SetPageSize(std::int32_t step) override { W()->setPageStep(step); }
    void SetTickFrequency(std::int32_t step) override { W()->setTickInterval(step); }
    std::int32_t Position() const override { return W()->value(); }
    void SetPosition(std::int32_t value) override;

private:
    bool quiet_ = false;  // set while the program moves the thumb
};

}  // namespace ratiscope
