// The standard controls on Qt Widgets: the control set of one window and the
// toolkit that makes it for a Qt window's control host.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/Controls.h"

class QWidget;

namespace ratiscope {

class TQtButton;
class TQtWindowInput;

class TQtControls final : public IControls {
public:
    // Places every control inside `host`, which must outlive the set.
    explicit TQtControls(QWidget& host);
    ~TQtControls() override;
    TQtControls(const TQtControls&) = delete;
    TQtControls& operator=(const TQtControls&) = delete;

    IContainer& Client() override;
    IContainer& CreatePanel(IContainer& parent, std::string_view name) override;
    ITabControl& CreateTabControl(IContainer& parent, std::string_view name) override;
    IGroupBox& CreateGroupBox(IContainer& parent, std::string_view name) override;
    ILabel& CreateLabel(IContainer& parent, std::string_view name, TLabelSizing sizing) override;
    IEdit& CreateEdit(IContainer& parent, std::string_view name) override;
    IUpDown& CreateUpDown(IContainer& parent, std::string_view name, IEdit& buddy) override;
    IComboBox& CreateComboBox(IContainer& parent, std::string_view name, TComboStyle style) override;
    IRadioButton& CreateRadioButton(IContainer& parent, std::string_view name) override;
    ICheckBox& CreateCheckBox(IContainer& parent, std::string_view name) override;
    ICheckListBox& CreateCheckListBox(IContainer& parent, std::string_view name) override;
    IColorBox& CreateColorBox(IContainer& parent, std::string_view name) override;
    ITrackBar& CreateTrackBar(IContainer& parent, std::string_view name) override;
    IButton& CreateButton(IContainer& parent, std::string_view name) override;
    IPicture& CreatePicture(IContainer& parent, std::string_view name) override;

    // Enter that no focused control took: presses the default button while it
    // is shown; false when there is none to press.
    bool PressDefaultButton();
    void SetDefaultButton(TQtButton* button, bool isDefault);

    // The widget of a container made by this set (or the host for Client).
    static QWidget& WidgetOf(IContainer& container);

private:
    template <class T>
    T& Keep(std::unique_ptr<T> control);

    QWidget& host_;
    std::unique_ptr<TQtWindowInput> input_;
    std::unique_ptr<IContainer> client_;
    std::vector<std::unique_ptr<IControl>> controls_;
    TQtButton* defaultButton_ = nullptr;
};

class TQtControlToolkit final : public IControlToolkit {
public:
    TQtControlToolkit();
    ~TQtControlToolkit() override;
    // The host must be a Qt window's (IQtControlHost); any other host gets an
    // empty widget of its own, so nothing is shown but nothing breaks.
    std::unique_ptr<IControls> CreateControls(IControlHost& host) override;

private:
    std::vector<std::unique_ptr<QWidget>> orphanHosts_;
};

}  // namespace ratiscope
