// The control set of a Qt window: makes each control in its parent's widget
// and ends them in reverse order, so children go before their parents.
#include "platform/qt/QtControls.h"

#include <QWidget>

#include "platform/qt/QtEditControls.h"
#include "platform/qt/QtListControls.h"
#include "platform/qt/QtSimpleControls.h"
#include "platform/qt/QtTabControl.h"
#include "platform/qt/QtWindowInput.h"
#include "platform/qt/QtWindowSystem.h"

namespace ratiscope {

TQtControls::TQtControls(QWidget& host)
    : host_(host), input_(std::make_unique<TQtWindowInput>(host)), client_(std::make_unique<TQtClientArea>(host)) {
    // The controls take the focus; the window around them is no stop of its
    // own (nothing would show that it has the focus). Keys with no focused
    // control still reach it.
    host_.setFocusPolicy(Qt::NoFocus);
    // Controls inherit the host's font from their birth, so the sizes they
    // measure before the caller sets a font already use the controls' own
    // face; with the system's face they would set up a second font for nothing.
    host_.setFont(QtFont(TFont{}));
}

TQtControls::~TQtControls() {
    for (auto& c : controls_)
        if (auto* end = dynamic_cast<IQtControlEnd*>(c.get())) end->Silence();
    while (!controls_.empty()) controls_.pop_back();
}

QWidget& TQtControls::WidgetOf(IContainer& container) {
    if (auto* c = dynamic_cast<TQtContainer*>(&container)) return *c->W();
    if (auto* g = dynamic_cast<TQtGroupBox*>(&container)) return *g->W();
    return dynamic_cast<TQtClientArea&>(container).Host();
}

template <class T>
T& TQtControls::Keep(std::unique_ptr<T> control) {
    T& ref = *control;
    controls_.push_back(std::move(control));
    // Created hidden widgets of a shown parent would stay hidden; show each one.
    ref.W()->show();
    return ref;
}

IContainer& TQtControls::Client() { return *client_; }

bool TQtControls::PressDefaultButton() { return defaultButton_ && defaultButton_->PressIfShown(); }

void TQtControls::SetDefaultButton(TQtButton* button, bool isDefault) {
    if (isDefault)
        defaultButton_ = button;
    else if (defaultButton_ == button)
        defaultButton_ = nullptr;
}

IContainer& TQtControls::CreatePanel(IContainer& parent, std::string_view name) {
    auto* widget = new TQtPanelWidget(&WidgetOf(parent), [this] { return PressDefaultButton(); });
    return Keep(std::make_unique<TQtContainer>(widget, name));
}

ITabControl& TQtControls::CreateTabControl(IContainer& parent, std::string_view name) {
    TQtTabControl& tabs =
        Keep(std::make_unique<TQtTabControl>(&WidgetOf(parent), name, [this] { return PressDefaultButton(); }));
    input_->AddTabWidget(tabs.W());
    return tabs;
}

IGroupBox& TQtControls::CreateGroupBox(IContainer& parent, std::string_view name) {
    return Keep(std::make_unique<TQtGroupBox>(new QGroupBox(&WidgetOf(parent)), name));
}

ILabel& TQtControls::CreateLabel(IContainer& parent, std::string_view name, TLabelSizing sizing) {
    return Keep(std::make_unique<TQtLabel>(&WidgetOf(parent), name, sizing));
}

IEdit& TQtControls::CreateEdit(IContainer& parent, std::string_view name) {
    return Keep(std::make_unique<TQtEdit>(&WidgetOf(parent), name));
}

IUpDown& TQtControls::CreateUpDown(IContainer& parent, std::string_view name, IEdit& buddy) {
    return Keep(std::make_unique<TQtUpDown>(&WidgetOf(parent), name, dynamic_cast<TQtEdit&>(buddy)));
}

IComboBox& TQtControls::CreateComboBox(IContainer& parent, std::string_view name, TComboStyle style) {
    return Keep(std::make_unique<TQtComboBox>(&WidgetOf(parent), name, style));
}

IRadioButton& TQtControls::CreateRadioButton(IContainer& parent, std::string_view name) {
    return Keep(std::make_unique<TQtRadioButton>(&WidgetOf(parent), name));
}

ICheckBox& TQtControls::CreateCheckBox(IContainer& parent, std::string_view name) {
    return Keep(std::make_unique<TQtCheckBox>(&WidgetOf(parent), name));
}

ICheckListBox& TQtControls::CreateCheckListBox(IContainer& parent, std::string_view name) {
    return Keep(std::make_unique<TQtCheckListBox>(&WidgetOf(parent), name));
}

IColorBox& TQtControls::CreateColorBox(IContainer& parent, std::string_view name) {
    return Keep(std::make_unique<TQtColorBox>(&WidgetOf(parent), name));
}

ITrackBar& TQtControls::CreateTrackBar(IContainer& parent, std::string_view name) {
    return Keep(std::make_unique<TQtTrackBar>(&WidgetOf(parent), name));
}

IButton& TQtControls::CreateButton(IContainer& parent, std::string_view name) {
    return Keep(std::make_unique<TQtButton>(&WidgetOf(parent), name,
                                            [this](TQtButton* b, bool isDefault) { SetDefaultButton(b, isDefault); }));
}

IPicture& TQtControls::CreatePicture(IContainer& parent, std::string_view name) {
    return Keep(std::make_unique<TQtPicture>(&WidgetOf(parent), name));
}

TQtControlToolkit::TQtControlToolkit() = default;

TQtControlToolkit::~TQtControlToolkit() = default;

std::unique_ptr<IControls> TQtControlToolkit::CreateControls(IControlHost& host) {
    if (auto* qt = dynamic_cast<IQtControlHost*>(&host); qt && qt->Container())
        return std::make_unique<TQtControls>(*qt->Container());
    orphanHosts_.push_back(std::make_unique<QWidget>());
    return std::make_unique<TQtControls>(*orphanHosts_.back());
}

}  // namespace ratiscope
