// The settings panel on the real Qt window system and Qt controls, offscreen:
// typing, Enter, focus changes, spin clicks, list choices, check marks, the
// track bar and the buttons, checked both in the settings and on screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

#include "PanelFixture.h"
#include "panel/SettingsFrm.h"
#include "platform/RasterOffscreen.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtTextEngine.h"
#include "platform/qt/QtWindow.h"
#include "platform/qt/QtWindowSystem.h"

namespace ratiscope::testing {
namespace {

// The real window system, except that error boxes are written down instead
// of waiting for a click.
class MessageCatcher final : public IWindowSystem {
public:
    explicit MessageCatcher(IWindowSystem& real) : real_(real) {}
    std::vector<std::string> messages;

    std::unique_ptr<IWindow> CreateWindow(IWindowEvents& e, const TWindowOptions& o) override { return real_.CreateWindow(e, o); }
    void SetApplicationTitle(std::string_view t) override { real_.SetApplicationTitle(t); }
    void SetApplicationEvents(IApplicationEvents* e) override { real_.SetApplicationEvents(e); }
    void SetOverrideCursor(TCursor c) override { real_.SetOverrideCursor(c); }
    void ResetOverrideCursor() override { real_.ResetOverrideCursor(); }
    void SetHintColor(TColor c) override { real_.SetHintColor(c); }
    TRect WorkAreaNear(const IWindow& w) const override { return real_.WorkAreaNear(w); }
    TRect Desktop() const override { return real_.Desktop(); }
    std::int32_t PrimaryScreenWidth() const override { return real_.PrimaryScreenWidth(); }
    int ColorDepth() const override { return real_.ColorDepth(); }
    std::optional<TRect> ClientAreaBeneath(std::int32_t x, std::int32_t y) const override {
        return real_.ClientAreaBeneath(x, y);
    }
    void MinimizeApplication() override { real_.MinimizeApplication(); }
    void ShowMessage(TMessageKind, std::string_view caption, std::string_view text) override {
        messages.push_back(std::string(caption) + ": " + std::string(text));
    }
    int Run() override { return real_.Run(); }
    void Quit(int code) override { real_.Quit(code); }

private:
    IWindowSystem& real_;
};

class PanelOnQt : public ::testing::Test {
protected:
    PanelOnQt() {
        files.programPath = "/opt/ratiscope/ratiscope";
        files.AddFile("/opt/ratiscope/English.lng", TestEnglishFile());
        files.AddFile("/opt/ratiscope/Deutsch.lng", "MSLookTab=Aussehen\r\nMSA3=Hinweise\r\nMSLook1=Folge\r\n");
        icons.TLCorners = PanelTestIcon(16, 16);
        icons.Caption = PanelTestIcon(32, 16);
        icons.TRCorner2 = PanelTestIcon(37, 16);
    }
    ~PanelOnQt() override {
        form.reset();
        ClearLanguageTable();
    }

    void Create() {
        settings.Overlay = &overlay;
        TSettingsFormServices services{
            catcher,
            toolkit,
            files,
            [](std::int32_t side) { return PanelTestIcon(side, side); },
            [this] { opened.push_back("manual"); },
            [this](std::string_view page) { opened.push_back("web " + std::string(page)); },
            nullptr,
            [this] { opened.push_back("fit"); },
        };
        form = std::make_unique<TSettingsForm>(settings, icons, std::move(services));
        form->FormCreate();
        window = dynamic_cast<TQtWindow*>(form->Window());
        ASSERT_NE(window, nullptr);
        window->Widget().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window->Widget()));
        calls.clear();
    }

    template <class T>
    T* Find(const char* name) {
        T* w = window->Widget().findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* SizeEdit() { return Find<QLineEdit>("SizeEdit"); }
    QComboBox* RatioBox() { return Find<QComboBox>("RatioComboBox"); }

    // Replaces the field's text by typing, as a user who selects all first.
    void TypeInto(QWidget* field, const char* text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }
    void ShowPage(int index) {
        TPanelControls& c = *form->Controls();
        c.PageControl.SetActivePage(index);
    }

    TQtTextEngine text;
    TQtWindowSystem real{[this] { return std::make_unique<TRasterOffscreen>(text); }};
    MessageCatcher catcher{real};
    TQtControlToolkit toolkit;
    TFakeFiles files;
    TOverlayIcons icons;
    TSettings settings{1920};
    TCallLog calls;
    RecordingOverlay overlay{calls};
    std::vector<std::string> opened;
    std::unique_ptr<TSettingsForm> form;
    TQtWindow* window = nullptr;
};

TEST_F(PanelOnQt, SizeFieldAppliesOnEnterAndOnLeavingNotWhileTyping) {
    Create();
    ShowPage(1);
    EXPECT_EQ(SizeEdit()->text(), "396");
    TypeInto(SizeEdit(), "500");
    EXPECT_EQ(settings.Width, 396);
    QTest::keyClick(SizeEdit(), Qt::Key_Return);
    EXPECT_EQ(settings.Width, 500);
    EXPECT_EQ(settings.Height, 309);

    TypeInto(SizeEdit(), "6 40");
    EXPECT_EQ(settings.Width, 500);
    QTest::keyClick(SizeEdit(), Qt::Key_Tab);  // on to the ratio box
    EXPECT_FALSE(SizeEdit()->hasFocus());
    EXPECT_EQ(settings.Width, 640);
    EXPECT_EQ(SizeEdit()->text(), "640");
}

TEST_F(PanelOnQt, SpinClicksApplyAtOnceUntilTheFieldIsTypedIn) {
    Create();
    ShowPage(1);
    auto* up = Find<QToolButton>("SizeUpDownUp");
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(settings.Width, 397);
    EXPECT_EQ(SizeEdit()->text(), "397");
    TypeInto(SizeEdit(), "420");
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(SizeEdit()->text(), "421");
    EXPECT_EQ(settings.Width, 397);
    QTest::keyClick(SizeEdit(), Qt::Key_Return);
    EXPECT_EQ(settings.Width, 421);
}

TEST_F(PanelOnQt, SizeTextThatIsNoNumberIsReportedAndChangesNothing) {
    Create();
    ShowPage(1);
    TypeInto(SizeEdit(), "12a");
    QTest::keyClick(SizeEdit(), Qt::Key_Return);
    EXPECT_EQ(catcher.messages, (std::vector<std::string>{"Vendrel Ratiscope: '12a' is not a valid integer value"}));
    EXPECT_EQ(settings.Width, 396);
    EXPECT_EQ(SizeEdit()->text(), "12a");
}

TEST_F(PanelOnQt, RatioBoxTypedValues) {
    Create();
    ShowPage(1);
    struct Case {
        const char* typed;
        double ratio;
        int count;
    };
    const Case cases[] = {{"1.0005", 0.6180339887498949, 17}, {"3.05", 3.05, 18}, {"3.1", 3.05, 18}, {"-1", 3.05, 18}};
    for (const Case& c : cases) {
        TypeInto(RatioBox(), c.typed);
        QTest::keyClick(RatioBox(), Qt::Key_Return);
        EXPECT_EQ(settings.Ratio, c.ratio) << c.typed;
        EXPECT_EQ(RatioBox()->count(), c.count) << c.typed;
    }
    EXPECT_EQ(RatioBox()->itemText(17), "3.05");
    EXPECT_EQ(settings.Height, 1208);
}

TEST_F(PanelOnQt, RatioEntryPickedFromTheOpenList) {
    Create();
    ShowPage(1);
    QComboBox* box = RatioBox();
    box->showPopup();
    QAbstractItemView* view = box->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const QModelIndex entry = box->model()->index(12, 0);
    view->scrollTo(entry);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
    EXPECT_EQ(settings.Ratio, 1.0);
    EXPECT_EQ(settings.Height, 396);
    EXPECT_EQ(box->currentIndex(), 12);
}

TEST_F(PanelOnQt, StoredRatiosShowAsEntryOrText) {
    settings.SetRatio(1.25);
    Create();
    EXPECT_EQ(RatioBox()->currentText(), "1.25");
    EXPECT_EQ(RatioBox()->count(), 20);  // appended by the creation's show and by each of the two language passes
    settings.SetRatio(0.6185);
    EXPECT_EQ(RatioBox()->currentIndex(), 0);
    EXPECT_EQ(settings.Ratio, 0.6185);
}

TEST_F(PanelOnQt, LockBoxAndHeightRadio) {
    Create();
    ShowPage(1);
    QTest::mouseClick(Find<QRadioButton>("HeightRadio"), Qt::LeftButton);
    EXPECT_FALSE(settings.LockWidth);
    EXPECT_EQ(SizeEdit()->text(), "245");
    QTest::mouseClick(Find<QCheckBox>("LockCheckBox"), Qt::LeftButton);
    EXPECT_FALSE(settings.Lock);
    settings.SetHeight(300);
    EXPECT_EQ(settings.Width, 396);
    QTest::mouseClick(Find<QCheckBox>("LockCheckBox"), Qt::LeftButton);
    EXPECT_TRUE(settings.Lock);
    EXPECT_EQ(settings.Width, 485);  // ApplyRatio: the width follows the leading height
    EXPECT_EQ(calls.back(), "overlay.UpdateSize");
}

TEST_F(PanelOnQt, LookAndGridFromTheKeyboard) {
    Create();
    ShowPage(1);
    auto* look = Find<QComboBox>("LookComboBox");
    look->setFocus();
    QTest::keyClick(look, Qt::Key_Down);
    EXPECT_EQ(settings.LookMode, TLook::Halves);
    auto* grid = Find<QLineEdit>("GridSizeEdit");
    TypeInto(grid, "20");
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(settings.GridSize, 20);
    QTest::mouseClick(Find<QToolButton>("GridSizeUpDownUp"), Qt::LeftButton);
    EXPECT_EQ(settings.GridSize, 20);  // live apply stays off after Enter in the grid field
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(settings.GridSize, 21);
}

TEST_F(PanelOnQt, OptionListSwitchesTooltipsOnBothWindows) {
    Create();
    ShowPage(3);
    auto* list = Find<QListWidget>("AdvCheckListBox");
    list->setFocus();
    list->setCurrentRow(3);
    window->SetHint("a hint");
    EXPECT_EQ(window->Widget().toolTip(), "a hint");
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_FALSE(settings.ShowHints);
    EXPECT_EQ(calls, (TCallLog{"overlay.UpdateOptions"}));
    EXPECT_EQ(window->Widget().toolTip(), "");
    EXPECT_EQ(list->item(3)->checkState(), Qt::Unchecked);
}

TEST_F(PanelOnQt, OpacityWithAndWithoutSettingsOpacity) {
    Create();
    ShowPage(2);
    auto* slider = Find<QSlider>("OpacityTrackBar");
    EXPECT_EQ(slider->value(), 90);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_PageDown);
    EXPECT_EQ(settings.Opacity, 80);
    EXPECT_FALSE(window->Blending());

    ShowPage(3);
    auto* list = Find<QListWidget>("AdvCheckListBox");
    list->setFocus();
    list->setCurrentRow(4);
    QTest::keyClick(list, Qt::Key_Space);
    ASSERT_TRUE(settings.SettingsOpacity);
    EXPECT_TRUE(window->Blending());
    EXPECT_EQ(window->Alpha(), 204);
    ShowPage(2);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_EQ(settings.Opacity, 100);
    EXPECT_FALSE(window->Blending());
}

TEST_F(PanelOnQt, LanguageSwitchKeepsMarksAndSelections) {
    Create();
    ShowPage(3);
    auto* list = Find<QListWidget>("AdvCheckListBox");
    list->setFocus();
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Space);  // ShowValues off
    auto* languages = Find<QComboBox>("LangComboBox");
    EXPECT_EQ(languages->currentText(), "English");
    languages->setFocus();
    QTest::keyClick(languages, Qt::Key_Up);
    EXPECT_EQ(settings.Lang, "Deutsch");
    EXPECT_EQ(list->item(3)->text(), "Hinweise");
    EXPECT_EQ(list->item(2)->checkState(), Qt::Unchecked);
    EXPECT_EQ(list->item(3)->checkState(), Qt::Checked);
    EXPECT_EQ(Find<QComboBox>("LookComboBox")->currentText(), "Folge");
    EXPECT_EQ(RatioBox()->currentIndex(), 0);
    EXPECT_EQ(languages->currentText(), "Deutsch");
    EXPECT_EQ(form->Controls()->PageControl.TabCaption(1), "Aussehen");
}

TEST_F(PanelOnQt, RestoreButtonBringsTheDefaultsBack) {
    Create();
    settings.SetLockWidth(false);
    settings.SetOpacity(40);
    settings.SetShowValues(false);
    ShowPage(3);
    QTest::mouseClick(Find<QPushButton>("RestoreButton"), Qt::LeftButton);
    EXPECT_TRUE(settings.LockWidth);
    EXPECT_EQ(settings.Opacity, 90);
    EXPECT_TRUE(Find<QRadioButton>("WidthRadio")->isChecked());
    EXPECT_EQ(SizeEdit()->text(), "396");
    EXPECT_EQ(Find<QSlider>("OpacityTrackBar")->value(), 90);
    EXPECT_EQ(Find<QListWidget>("AdvCheckListBox")->item(2)->checkState(), Qt::Checked);
    EXPECT_EQ(settings.Lang, "English");
}

TEST_F(PanelOnQt, StoredPageOneOpensLookAndIsStoredBackAsTwo) {
    settings.SPage = 1;
    Create();
    EXPECT_TRUE(Find<QWidget>("LookTabSheet")->isVisible());
    EXPECT_FALSE(Find<QWidget>("MainTabSheet")->isVisible());
    window->Close();
    EXPECT_EQ(settings.SPage, 2);
    EXPECT_FALSE(window->IsVisible());
}

TEST_F(PanelOnQt, ClickingATabShowsItsPage) {
    Create();
    auto* tabs = Find<QWidget>("PageControl");
    const TRect r = form->Controls()->PageControl.TabRect(2);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    EXPECT_EQ(form->ActivePage(), 3);
    EXPECT_TRUE(Find<QWidget>("ColorsTab")->isVisible());
}

TEST_F(PanelOnQt, FunctionKeysWorkFromAnyControl) {
    Create();
    ShowPage(1);
    SizeEdit()->setFocus();
    QTest::keyClick(SizeEdit(), Qt::Key_F1);
    EXPECT_EQ(opened, (std::vector<std::string>{"manual"}));
    QTest::keyClick(RatioBox(), Qt::Key_F3);
    EXPECT_EQ(calls.back(), "overlay.UpdateOpacity");
    auto* look = Find<QComboBox>("LookComboBox");
    QTest::keyClick(look, Qt::Key_F2);
    EXPECT_FALSE(window->IsVisible());
}

TEST_F(PanelOnQt, EnterOnTheMainPagePressesTheWebButton) {
    Create();
    auto* tabs = Find<QWidget>("PageControl");
    tabs->setFocus();
    QTest::keyClick(tabs, Qt::Key_Return);
    EXPECT_EQ(opened, (std::vector<std::string>{"web "}));
    ShowPage(1);
    QTest::keyClick(tabs, Qt::Key_Return);  // the button is not shown: nothing
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(PanelOnQt, LayoutFollowsTheTabHeightAndTheDpi) {
    Create();
    const std::int32_t tab = form->Controls()->PageControl.TabRect(1).Height();
    EXPECT_GT(tab, 9);
    EXPECT_EQ(window->ClientSize(), (TSize{175, 5 * tab + 320}));
    EXPECT_EQ(SizeEdit()->geometry(), QRect(92, 23, 35, 19));
    EXPECT_EQ(SizeEdit()->font().pixelSize(), 9);
    auto* panel = Find<QWidget>("Panel");
    EXPECT_EQ(panel->geometry(), QRect(0, 16, 175, 5 * tab + 320 - 16));

    form->WMDpiChanged(144);
    const std::int32_t tab144 = form->Controls()->PageControl.TabRect(1).Height();
    EXPECT_GT(tab144, tab);
    EXPECT_EQ(window->ClientSize(), (TSize{263, 5 * tab144 + 480}));
    EXPECT_EQ(SizeEdit()->geometry(), QRect(138, 35, 53, 29));
    EXPECT_EQ(SizeEdit()->font().pixelSize(), 14);
    EXPECT_EQ(Find<QWidget>("PageControl")->geometry(), QRect(3, 6, 259, 5 * tab144 + 480 - 16 - 9 + 1));
}

}  // namespace
}  // namespace ratiscope::testing
