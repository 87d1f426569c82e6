// Every text of every shipped language fits its control on the real panel at
// 96 dpi, measured with the font the control shows it in: a label up to the
// next control on its row, a check box or radio button within its own width,
// a group box caption within its frame, a button's text within the button.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
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

constexpr const char* kProgramFolder = "/opt/ratiscope/";

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The language files the program ships, by name without the extension.
std::vector<std::string> ShippedLanguages() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(RATISCOPE_LANG_DIR))
        if (entry.path().extension() == ".lng") names.push_back(entry.path().stem().string());
    return names;
}

// A text that does not fit: where it is, what it says and by how many pixels.
std::string Overflow(const QWidget& w, const QString& text, int need, int room) {
    return w.objectName().toStdString() + " \"" + text.toStdString() + "\" needs " + std::to_string(need) +
           " px, has " + std::to_string(room);
}

class PanelTextsFit : public ::testing::TestWithParam<std::string> {
protected:
    PanelTextsFit() {
        files.programPath = std::string(kProgramFolder) + "ratiscope";
        for (const std::string& name : ShippedLanguages())
            files.AddFile(kProgramFolder + name + ".lng",
                          ReadWhole(std::filesystem::path(RATISCOPE_LANG_DIR) / (name + ".lng")));
        icons.TLCorners = PanelTestIcon(16, 16);
        icons.Caption = PanelTestIcon(32, 16);
        icons.TRCorner2 = PanelTestIcon(37, 16);
        settings.Lang = GetParam();
        settings.SVisible = true;
        TSettingsFormServices services{
            real, toolkit, files,
            [](std::int32_t side) { return PanelTestIcon(side, side); }, [] {}, [](std::string_view) {}, nullptr, [] {},
        };
        form = std::make_unique<TSettingsForm>(settings, icons, std::move(services));
        form->FormCreate();
        window = dynamic_cast<TQtWindow*>(form->Window());
    }
    ~PanelTextsFit() override {
        form.reset();
        ClearLanguageTable();
    }

    // Every text of the shown page that does not fit its room.
    std::vector<std::string> Overflows() {
        std::vector<std::string> found;
        for (QWidget* w : window->Widget().findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&window->Widget())) continue;
            const QFontMetrics fm(w->font());
            ++measured;
            if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
                if (label->wordWrap()) {
                    const QRect need = fm.boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, label->text());
                    if (need.height() > label->height()) found.push_back(Overflow(*w, label->text(), need.height(), label->height()));
                    continue;
                }
                const int need = fm.horizontalAdvance(label->text());
                const int room = RoomRightOf(*label);
                if (need > room) found.push_back(Overflow(*w, label->text(), need, room));
            } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
                auto* b = static_cast<QAbstractButton*>(w);
                // The indicator and its spacing, then the text.
                const int indicator = w->style()->pixelMetric(qobject_cast<QCheckBox*>(w) ? QStyle::PM_IndicatorWidth
                                                                                          : QStyle::PM_ExclusiveIndicatorWidth,
                                                              nullptr, w) +
                                      w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
                const int need = indicator + fm.horizontalAdvance(b->text());
                const int room = std::min(b->width(), RoomRightOf(*b));
                if (need > room) found.push_back(Overflow(*w, b->text(), need, room));
            } else if (auto* button = qobject_cast<QPushButton*>(w)) {
                const int need = fm.horizontalAdvance(button->text()) + 2 * kButtonPadding;
                if (need > button->width()) found.push_back(Overflow(*w, button->text(), need, button->width()));
            } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
                const int need = fm.horizontalAdvance(group->title()) + 2 * kGroupTitleIndent;
                if (need > group->width()) found.push_back(Overflow(*w, group->title(), need, group->width()));
            } else {
                --measured;
            }
        }
        return found;
    }

    // From the widget's left edge to the nearest sibling beside it on its
    // rows, or to its parent's right edge.
    static int RoomRightOf(const QWidget& w) {
        const QWidget* parent = w.parentWidget();
        int right = parent ? parent->width() : w.x() + w.width();
        if (!parent) return right - w.x();
        for (const QObject* o : parent->children()) {
            const auto* other = qobject_cast<const QWidget*>(o);
            if (!other || other == &w || !other->isVisibleTo(parent) || other->x() <= w.x()) continue;
            const bool sameRows = other->y() < w.y() + w.height() && w.y() < other->y() + other->height();
            if (sameRows) right = std::min(right, other->x());
        }
        return right - w.x();
    }

    static constexpr int kPanelTexts = 24;  // labels, boxes and buttons of the four pages
    static constexpr int kButtonPadding = 4;     // each side of a button's text
    static constexpr int kGroupTitleIndent = 8;  // a group box caption's inset from each side

    TQtTextEngine text;
    TQtWindowSystem real{[this] { return std::make_unique<TRasterOffscreen>(text); }};
    TQtControlToolkit toolkit;
    TFakeFiles files;
    TOverlayIcons icons;
    TSettings settings{1920};
    std::unique_ptr<TSettingsForm> form;
    TQtWindow* window = nullptr;
    int measured = 0;  // texts looked at
};

TEST_P(PanelTextsFit, EveryTextFitsItsControlAt96Dpi) {
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->Dpi(), 96);
    TPanelControls& c = *form->Controls();
    for (std::int32_t page = 0; page < c.PageControl.PageCount(); ++page) {
        c.PageControl.SetActivePage(page);
        for (const std::string& overflow : Overflows()) ADD_FAILURE() << GetParam() << ", page " << page << ": " << overflow;
    }
    // Every label, check box, radio button, button and group box of the four pages.
    EXPECT_GE(measured, kPanelTexts);
}

INSTANTIATE_TEST_SUITE_P(ShippedLanguages, PanelTextsFit, ::testing::ValuesIn(ShippedLanguages()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             // Test names take ASCII letters only.
                             std::string name;
                             for (char ch : info.param)
                                 if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')) name += ch;
                             return name.empty() ? "Language" + std::to_string(info.index) : name;
                         });

}  // namespace
}  // namespace ratiscope::testing
