// The Qt controls behind the controls interface, driven as a user drives
// them (QTest keys and clicks) on Qt's offscreen platform: what each reports
// and what each shows.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

#include "platform/Image.h"
#include "platform/Keys.h"
#include "platform/qt/QtControlBase.h"
#include "platform/qt/QtControls.h"

namespace ratiscope {
namespace {

class QtControls : public ::testing::Test {
protected:
    QtControls() {
        host = std::make_unique<QWidget>();
        host->resize(300, 400);
        controls = std::make_unique<TQtControls>(*host);
        page = &controls->CreatePanel(controls->Client(), "Page");
        page->SetBounds({0, 0, 300, 400});
        host->show();
        host->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(host.get()));
    }
    ~QtControls() override {
        controls.reset();
        host.reset();
    }

    template <class T>
    T* Find(const char* name) {
        T* w = host->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::unique_ptr<QWidget> host;
    std::unique_ptr<TQtControls> controls;
    IContainer* page = nullptr;
    std::vector<std::string> events;
};

TEST_F(QtControls, EditReportsKeysBeforeTheTextAndLeavingTheField) {
    IEdit& edit = controls->CreateEdit(*page, "Edit");
    IEdit& other = controls->CreateEdit(*page, "Other");
    edit.SetBounds({10, 10, 60, 30});
    other.SetBounds({10, 40, 60, 60});
    edit.OnKeyDown = [&](TKey key) { events.push_back("key " + std::to_string(KeyNumber(key)) + " text " + edit.Text()); };
    edit.OnChange = [&] { events.push_back("change " + edit.Text()); };
    edit.OnExit = [&] { events.push_back("exit"); };
    edit.SetText("5");
    EXPECT_EQ(events, (std::vector<std::string>{"change 5"}));
    edit.SetText("5");  // unchanged text: no change
    EXPECT_EQ(events.size(), 1u);
    events.clear();
    auto* line = Find<QLineEdit>("Edit");
    line->setFocus();
    QTest::keyClick(line, Qt::Key_End);
    QTest::keyClicks(line, "7");
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(events, (std::vector<std::string>{"key " + std::to_string(KeyNumber(TKey::End)) + " text 5", "key 55 text 5",
                                                "change 57", "key 13 text 57"}));
    events.clear();
    other.SetFocus();
    EXPECT_EQ(events, (std::vector<std::string>{"exit"}));
    EXPECT_EQ(Find<QLineEdit>("Edit")->geometry(), QRect(10, 10, 50, 20));
}

TEST_F(QtControls, SpinButtonsStepTheFieldsNumberWithinTheRange) {
    IEdit& edit = controls->CreateEdit(*page, "Edit");
    IUpDown& spin = controls->CreateUpDown(*page, "Spin", edit);
    spin.SetBounds({60, 10, 76, 29});
    spin.SetRange(0, 10);
    spin.SetPosition(9);
    EXPECT_EQ(edit.Text(), "9");
    auto* up = Find<QToolButton>("SpinUp");
    auto* down = Find<QToolButton>("SpinDown");
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(edit.Text(), "10");
    EXPECT_EQ(spin.Position(), 10);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(edit.Text(), "9");
    // The position is what the field reads, kept in range; text that is no number keeps the last one.
    edit.SetText("40");
    EXPECT_EQ(spin.Position(), 10);
    edit.SetText("-3");
    EXPECT_EQ(spin.Position(), 0);
    edit.SetText("1 2");
    EXPECT_EQ(spin.Position(), 9);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(edit.Text(), "10");
    // Up and Down in the field step as well, after the key was reported.
    std::vector<std::string> seen;
    edit.OnKeyDown = [&](TKey key) { seen.push_back(std::to_string(KeyNumber(key)) + ":" + edit.Text()); };
    auto* line = Find<QLineEdit>("Edit");
    line->setFocus();
    QTest::keyClick(line, Qt::Key_Down);
    EXPECT_EQ(seen, (std::vector<std::string>{"40:10"}));
    EXPECT_EQ(edit.Text(), "9");
    // The buttons never take the focus from the field.
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_TRUE(line->hasFocus());
    // Ranges are signed 16-bit.
    spin.SetRange(-100000, 100000);
    EXPECT_EQ(spin.Min(), -32768);
    EXPECT_EQ(spin.Max(), 32767);
}

TEST_F(QtControls, EditableComboLosesItsSelectionToTypingAndKeepsEnterToItself) {
    IComboBox& box = controls->CreateComboBox(*page, "Combo", TComboStyle::Editable);
    for (int i = 0; i < 3; ++i) box.SetItemText(i, "entry " + std::to_string(i));
    EXPECT_EQ(box.ItemIndex(), -1);  // adding entries selects nothing
    box.SetItemIndex(1);
    EXPECT_EQ(box.ItemIndex(), 1);
    EXPECT_EQ(box.Text(), "entry 1");
    std::vector<TKey> keys;
    int selects = 0;
    box.OnKeyDown = [&](TKey key) { keys.push_back(key); };
    box.OnSelect = [&] { ++selects; };
    auto* combo = Find<QComboBox>("Combo");
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, "entry 2");
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Text(), "entry 2");
    QTest::keyClick(combo, Qt::Key_Return);
    // Enter is reported but does not pick the entry of the same text.
    EXPECT_EQ(keys.back(), TKey::Return);
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(selects, 0);
    EXPECT_EQ(box.ItemCount(), 3);
    // Replacing an entry drops the selection and keeps the typed text.
    box.SetItemIndex(0);
    box.SetItemText(0, "first");
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Text(), "entry 0");
    box.SetText("1.25");
    EXPECT_EQ(box.Text(), "1.25");
    EXPECT_EQ(box.ItemIndex(), -1);
}

TEST_F(QtControls, ListComboReportsTheUsersChoiceOnly) {
    IComboBox& box = controls->CreateComboBox(*page, "List", TComboStyle::List);
    for (int i = 0; i < 4; ++i) box.SetItemText(i, "or " + std::to_string(i));
    int selects = 0;
    box.OnSelect = [&] { ++selects; };
    box.SetItemIndex(2);
    EXPECT_EQ(selects, 0);
    EXPECT_EQ(box.Text(), "or 2");
    auto* combo = Find<QComboBox>("List");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(box.ItemIndex(), 3);
    box.SetItemIndex(7);
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Text(), "");
    box.Clear();
    EXPECT_EQ(box.ItemCount(), 0);
}

TEST_F(QtControls, CheckListKeepsMarksThroughNewTextsAndReportsOnlyTheUser) {
    ICheckListBox& list = controls->CreateCheckListBox(*page, "Options");
    list.SetBounds({10, 10, 151, 156});
    for (int i = 0; i < 3; ++i) list.SetItemText(i, "option " + std::to_string(i));
    int clicks = 0;
    list.OnClickCheck = [&] { ++clicks; };
    list.SetChecked(1, true);
    list.SetItemIndex(1);
    list.SetItemText(1, "renamed");
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(list.Checked(1));
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(list.ItemText(1), "renamed");
    auto* widget = Find<QListWidget>("Options");
    widget->setFocus();
    widget->setCurrentRow(2);
    QTest::keyClick(widget, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(list.Checked(2));
    // F2 starts no editing: the list has no editors.
    QTest::keyClick(widget, Qt::Key_F2);
    EXPECT_EQ(widget->findChildren<QLineEdit*>().size(), 0);
    list.SetHorizontalExtent(280);
    list.SetItemHeight(11);
    EXPECT_EQ(widget->item(0)->sizeHint().width(), 280);
    EXPECT_GE(widget->item(0)->sizeHint().height(), 11);
}

TEST_F(QtControls, ColourBoxShowsNamedAndCustomColoursAndAsksTheDialog) {
    IColorBox& box = controls->CreateColorBox(*page, "Colors");
    box.SetBounds({10, 10, 151, 32});
    ASSERT_EQ(box.ItemCount(), 21);
    EXPECT_EQ(box.ItemText(0), "Custom...");
    EXPECT_EQ(box.ItemText(20), "Medium Gray");
    box.SetSelected(0x0000FF);
    EXPECT_EQ(box.ItemIndex(), 10);
    box.SetSelected(0x4040FF);
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(box.Selected(), 0x4040FFu);
    int changes = 0;
    box.OnChange = [&] { ++changes; };
    auto* combo = Find<QComboBox>("Colors");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);  // Black
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.Selected(), 0u);

    // "Custom..." opens the colour dialog; accepting takes its colour.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentColor(QColor(10, 20, 30));
        dialog->accept();
    });
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(box.Selected(), TColor(10 | 20 << 8 | 30 << 16));

    // Cancelling leaves the earlier choice and reports nothing.
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(changes, 3);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->reject();
    });
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(box.ItemIndex(), 1);
    EXPECT_EQ(box.ItemColor(0), TColor(10 | 20 << 8 | 30 << 16));
}

TEST_F(QtControls, ColourSwatchesAreTheColourInABlackFrameAndRowsTakeTheItemHeight) {
    IColorBox& box = controls->CreateColorBox(*page, "Colors");
    box.SetBounds({10, 10, 151, 32});
    struct Case {
        std::int32_t itemHeight;
        int swatchHeight;  // two pixels free above and below, at least 4
    };
    const Case cases[] = {{16, 12}, {20, 16}, {6, 4}};
    auto* combo = Find<QComboBox>("Colors");
    for (const Case& c : cases) {
        box.SetItemHeight(c.itemHeight);
        EXPECT_EQ(combo->iconSize(), QSize(2 * c.swatchHeight, c.swatchHeight)) << c.itemHeight;
        for (int index : {1, 10, 20}) {
            const QImage swatch = combo->itemIcon(index).pixmap(combo->iconSize()).toImage();
            ASSERT_EQ(swatch.size(), QSize(2 * c.swatchHeight, c.swatchHeight)) << index;
            const QRgb inside = QColor(int(box.ItemColor(index) & 0xFF), int(box.ItemColor(index) >> 8 & 0xFF),
                                       int(box.ItemColor(index) >> 16 & 0xFF)).rgb();
            const int w = swatch.width();
            const int h = swatch.height();
            for (const QPoint p : {QPoint(0, 0), QPoint(w - 1, h - 1), QPoint(w / 2, 0), QPoint(0, h / 2), QPoint(w - 1, h / 2)})
                EXPECT_EQ(swatch.pixel(p), QColor(Qt::black).rgb()) << c.itemHeight << " " << index << " frame";
            for (const QPoint p : {QPoint(1, 1), QPoint(w - 2, h - 2), QPoint(w / 2, h / 2)})
                EXPECT_EQ(swatch.pixel(p), inside) << c.itemHeight << " " << index << " inside";
        }
    }

    // The open list's rows are the item height, whatever the swatch and text ask.
    box.SetItemHeight(22);
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    for (int index : {0, 5, 20}) EXPECT_EQ(view->visualRect(combo->model()->index(index, 0)).height(), 22) << index;
    combo->hidePopup();
}

TEST_F(QtControls, ControlsMeasureInTheControlsFaceBeforeAnyFontIsSet) {
    // A label that sizes itself is measured as it is made, before its caller
    // sets a font: it already measures with the controls' own face and size.
    ILabel& label = controls->CreateLabel(*page, "Early", TLabelSizing::AutoSize);
    label.SetCaption("Proportions");
    const QWidget* widget = Find<QLabel>("Early");
    EXPECT_EQ(widget->font().family(), QtFont(TFont{}).family());
    EXPECT_EQ(widget->font().pixelSize(), TFont{}.height);
    const std::int32_t early = label.Bounds().Width();
    label.SetFont(TFont{});
    EXPECT_EQ(label.Bounds().Width(), early) << "setting the same face later changes nothing";
}

TEST_F(QtControls, TrackBarReportsTheUserNotTheProgram) {
    ITrackBar& bar = controls->CreateTrackBar(*page, "Opacity");
    bar.SetBounds({10, 10, 151, 43});
    bar.SetRange(0, 100);
    bar.SetPageSize(10);
    bar.SetTickFrequency(10);
    int changes = 0;
    bar.OnChange = [&] { ++changes; };
    bar.SetPosition(90);
    EXPECT_EQ(changes, 0);
    auto* slider = Find<QSlider>("Opacity");
    EXPECT_EQ(slider->tickPosition(), QSlider::TicksBothSides);
    EXPECT_EQ(slider->tickInterval(), 10);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_EQ(bar.Position(), 100);
    EXPECT_EQ(changes, 1);
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(bar.Position(), 99);
    EXPECT_EQ(changes, 2);
    bar.SetPosition(150);
    EXPECT_EQ(bar.Position(), 100);
}

TEST_F(QtControls, RadioButtonsAreOnePerContainerAndReportClicks) {
    IGroupBox& group = controls->CreateGroupBox(*page, "Group");
    group.SetBounds({8, 28, 157, 85});
    group.SetCaption("Snap to");
    IRadioButton& a = controls->CreateRadioButton(group, "A");
    IRadioButton& b = controls->CreateRadioButton(group, "B");
    a.SetBounds({8, 16, 85, 33});
    b.SetBounds({8, 32, 81, 49});
    a.SetCaption("Width");
    b.SetCaption("Height");
    a.SetChecked(true);
    int clicks = 0;
    b.OnClick = [&] { ++clicks; };
    b.SetChecked(true);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(a.Checked());
    QTest::mouseClick(Find<QRadioButton>("A"), Qt::LeftButton);
    EXPECT_TRUE(a.Checked());
    QTest::mouseClick(Find<QRadioButton>("B"), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(b.Checked());
    EXPECT_EQ(Find<QGroupBox>("Group")->title(), "Snap to");
}

TEST_F(QtControls, DefaultButtonTakesEnterThatNoControlTook) {
    IButton& def = controls->CreateButton(*page, "Default");
    IButton& other = controls->CreateButton(*page, "Other");
    ICheckBox& check = controls->CreateCheckBox(*page, "Check");
    def.SetBounds({10, 10, 150, 31});
    other.SetBounds({10, 40, 150, 61});
    check.SetBounds({10, 70, 150, 87});
    def.SetDefault(true);
    int pressedDefault = 0, pressedOther = 0;
    def.OnClick = [&] { ++pressedDefault; };
    other.OnClick = [&] { ++pressedOther; };
    auto* box = Find<QCheckBox>("Check");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(pressedDefault, 1);
    auto* button = Find<QPushButton>("Other");
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::qWait(200);  // animateClick releases after a moment
    EXPECT_EQ(pressedOther, 1);
    EXPECT_EQ(pressedDefault, 1);
    Find<QPushButton>("Default")->hide();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(pressedDefault, 1);
}

TEST_F(QtControls, LabelsSizeThemselvesOrWrapInTheirBox) {
    ILabel& autoLabel = controls->CreateLabel(*page, "Auto", TLabelSizing::AutoSize);
    ILabel& fixed = controls->CreateLabel(*page, "Fixed", TLabelSizing::FixedWrap);
    autoLabel.SetFont({"Tahoma", 9, true});
    autoLabel.SetBounds({12, 12, 0, 0});
    autoLabel.SetCaption("Short");
    const int shortWidth = autoLabel.Bounds().Width();
    autoLabel.SetCaption("A much longer caption");
    EXPECT_GT(autoLabel.Bounds().Width(), shortWidth);
    EXPECT_EQ(autoLabel.Bounds().left, 12);
    EXPECT_TRUE(Find<QLabel>("Auto")->font().bold());
    fixed.SetBounds({49, 13, 156, 57});
    fixed.SetCaption("Vendrel Ratiscope\nVersion 5.9.3");
    EXPECT_EQ(fixed.Bounds(), (TRect{49, 13, 156, 57}));
    EXPECT_TRUE(Find<QLabel>("Fixed")->wordWrap());
    // Texts from language files are never read as markup.
    fixed.SetCaption("<b>bold</b>");
    EXPECT_EQ(Find<QLabel>("Fixed")->textFormat(), Qt::PlainText);
}

TEST_F(QtControls, PictureIsScaledDownKeepingItsProportions) {
    IPicture& picture = controls->CreatePicture(*page, "Logo");
    picture.SetBounds({11, 9, 43, 41});
    std::vector<std::uint8_t> mask(48 * 48, 1);
    mask[0] = 0;
    picture.SetPicture(TIcon(TImage(48, 48, 0xFF336699u), mask));
    const QPixmap shown = Find<QLabel>("Logo")->pixmap();
    EXPECT_EQ(shown.size(), QSize(32, 32));
    picture.SetBounds({11, 9, 111, 109});  // a larger box shows it at its own size
    EXPECT_EQ(Find<QLabel>("Logo")->pixmap().size(), QSize(48, 48));
    EXPECT_EQ(Find<QLabel>("Logo")->pixmap().toImage().pixelColor(0, 0).alpha(), 0);
}

TEST_F(QtControls, ClicksBesideTheControlsStayInTheirContainer) {
    int hostPresses = 0;
    class PressCounter : public QObject {
    public:
        explicit PressCounter(int& n) : n_(n) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::MouseButtonPress) ++n_;
            return false;
        }
        int& n_;
    } counter(hostPresses);
    host->installEventFilter(&counter);
    ILabel& label = controls->CreateLabel(*page, "Label", TLabelSizing::AutoSize);
    label.SetBounds({12, 12, 0, 0});
    label.SetCaption("text");
    QTest::mouseClick(Find<QLabel>("Label"), Qt::LeftButton);
    QTest::mouseClick(host->findChild<QWidget*>("Page"), Qt::LeftButton, {}, QPoint(200, 300));
    EXPECT_EQ(hostPresses, 0);
    host->removeEventFilter(&counter);
}

TEST_F(QtControls, ControlsAreNamedAndDieWithTheirSet) {
    controls->CreateEdit(*page, "SizeEdit");
    ITabControl& tabs = controls->CreateTabControl(*page, "Tabs");
    tabs.AddPage("First");
    EXPECT_NE(host->findChild<QWidget*>("SizeEdit"), nullptr);
    EXPECT_NE(host->findChild<QWidget*>("First"), nullptr);
    controls.reset();
    EXPECT_EQ(host->findChild<QWidget*>("SizeEdit"), nullptr);
    EXPECT_EQ(host->findChild<QWidget*>("First"), nullptr);
    EXPECT_EQ(host->findChild<QWidget*>("Page"), nullptr);
}

TEST_F(QtControls, EndingTheSetWhileAFieldHasTheFocusRunsNoHandler) {
    IEdit& edit = controls->CreateEdit(*page, "Edit");
    controls->CreateUpDown(*page, "Spin", edit);  // its focus goes to the field
    bool ran = false;
    edit.OnExit = [&] { ran = true; };
    edit.OnChange = [&] { ran = true; };
    edit.SetFocus();
    ASSERT_TRUE(Find<QLineEdit>("Edit")->hasFocus());
    controls.reset();
    EXPECT_FALSE(ran);
}

TEST_F(QtControls, TabsWrapIntoRowsAndShowOnePageOrNone) {
    ITabControl& tabs = controls->CreateTabControl(*page, "Tabs");
    tabs.SetFont({"Tahoma", 9, false});
    tabs.SetBounds({2, 4, 174, 393});
    tabs.AddPage("First");
    tabs.AddPage("Second");
    tabs.AddPage("Third");
    tabs.AddPage("Fourth");
    const char* captions[] = {"Main", "Look", "Colors", "Advanced"};
    for (int i = 0; i < 4; ++i) tabs.SetTabCaption(i, captions[i]);
    EXPECT_EQ(tabs.ActivePage(), -1);
    EXPECT_FALSE(host->findChild<QWidget*>("First")->isVisible());
    const int rowHeight = tabs.TabRect(1).Height();
    EXPECT_GT(rowHeight, 9);
    EXPECT_EQ(tabs.TabRect(0).top, tabs.TabRect(3).top);  // one row at this width

    tabs.SetTabCaption(3, "A very long advanced caption indeed");
    EXPECT_NE(tabs.TabRect(3).top, tabs.TabRect(0).top);  // now two rows
    tabs.SetTabCaption(3, "Advanced");

    int changes = 0;
    tabs.OnChange = [&] { ++changes; };
    tabs.SetActivePage(1);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(host->findChild<QWidget*>("Second")->isVisible());
    auto* widget = host->findChild<QWidget*>("Tabs");
    const TRect r = tabs.TabRect(2);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    EXPECT_EQ(tabs.ActivePage(), 2);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(host->findChild<QWidget*>("Second")->isVisible());
    QTest::keyClick(widget, Qt::Key_Left);
    EXPECT_EQ(tabs.ActivePage(), 1);
    EXPECT_EQ(changes, 2);
    tabs.SetActivePage(9);
    EXPECT_EQ(tabs.ActivePage(), -1);
}

}  // namespace
}  // namespace ratiscope
