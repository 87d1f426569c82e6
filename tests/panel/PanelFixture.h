// A settings panel on recording controls and a recording window system, with a
// recording overlay in the settings' slot and language files in memory, wired
// the way the program entry wires the real one.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "overlay/Renderer.h"
#include "panel/PanelTexts.h"
#include "panel/SettingsFrm.h"
#include "platform/RasterOffscreen.h"
#include "settings/LangTable.h"
#include "settings/Settings.h"
#include "support/FakeFiles.h"
#include "support/FakeTextEngine.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingControls.h"
#include "support/RecordingWindowSystem.h"
#include "support/RecordingWindows.h"

namespace ratiscope::testing {

// Icons of the panel's three sizes, all pixels opaque grey.
inline TIcon PanelTestIcon(std::int32_t w, std::int32_t h) {
    return TIcon(TImage(w, h, PixelFromColor(kChromeGrey)), std::vector<std::uint8_t>(static_cast<std::size_t>(w * h), 1));
}

// A small English file with the keys the tests look at; its texts are the
// key in lower case, so every control shows where its text came from.
inline std::string TestEnglishFile() {
    std::string f;
    for (const char* key : {"MSMainTab", "MSDevWebBtn", "MSAskSupportBtn", "MSCheckForUpdatesBtn",
                            "MSHelpBtn", "MSLookTab", "MSSection", "MSSnapTo", "MSWidth", "MSHeight", "MSRatio",
                            "MSGrid", "MSLook", "MSOrientation", "MSGridSize", "MSColorsTab", "MSLinesColor",
                            "MSValuesColor", "MSOpacity", "MSAdvancedTab", "MSLanguage", "MSAdvanced", "MSRestore",
                            "MSLockAspectRatio", "MSFitWindowBtn", "MSCaption", "MHelpButtonHint", "MSCloseButtonHint"}) {
        std::string text = key;
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        f += std::string(key) + "=" + text + "\r\n";
    }
    f += "MSCopyright=notice: %s\r\nMSVersion=Version\r\n";
    f += "MSRat0=Golden %.4f\r\nMSRat1=Golden %.4f\r\nMSRat12=Square (%.2f)\r\n";
    for (int i = 2; i < 17; ++i)
        if (i != 12) f += "MSRat" + std::to_string(i) + "=ratio " + std::to_string(i) + "\r\n";
    for (int i = 0; i < kBuiltInLookCount; ++i) f += "MSLook" + std::to_string(i) + "=look " + std::to_string(i) + "\r\n";
    for (int i = 0; i < 4; ++i) f += "MSOr" + std::to_string(i) + "=orientation " + std::to_string(i) + "\r\n";
    for (int i = 0; i < 7; ++i) f += "MSA" + std::to_string(i) + "=option " + std::to_string(i) + "\r\n";
    // The colour names as the English file gives them.
    f += std::string(kColorNameKeys[0]) + "=" + std::string(kCustomColorName) + "\r\n";
    for (std::size_t i = 0; i < kNamedColors.size(); ++i)
        f += std::string(kColorNameKeys[i + 1]) + "=" + std::string(kNamedColors[i].name) + "\r\n";
    return f;
}

class PanelTest : public ::testing::Test {
protected:
    static constexpr const char* kProgramFolder = "/opt/ratiscope/";

    PanelTest() {
        icons.TLCorners = PanelTestIcon(16, 16);
        icons.Caption = PanelTestIcon(32, 16);
        icons.TRCorner2 = PanelTestIcon(37, 16);
        files.programPath = std::string(kProgramFolder) + "ratiscope";
        files.AddFile(std::string(kProgramFolder) + "English.lng", TestEnglishFile());
        files.AddFile(std::string(kProgramFolder) + "Deutsch.lng",
                      "MSLookTab=Aussehen\r\nMSOpacity=Deckkraft\r\nMSA3=Hinweise\r\nMSLook1=Folge\r\n");
    }

    ~PanelTest() override {
        form.reset();
        ClearLanguageTable();
    }

    // Creates the panel as the program does, after the overlay slot is filled.
    void Create() {
        settings.Overlay = &overlay;
        TSettingsFormServices services{
            ws,
            toolkit,
            files,
            [](std::int32_t side) { return PanelTestIcon(side, side); },
            [this] { ws.log.push_back("OpenManual"); },
            [this](std::string_view page) { ws.log.push_back("OpenWebPage \"" + std::string(page) + "\""); },
            nullptr,
            [this] { ws.log.push_back("FitToWindow"); },
        };
        form = std::make_unique<TSettingsForm>(settings, icons, std::move(services));
        form->FormCreate();
        window = ws.windows.at(0);
        controls = toolkit.last;
        calls.clear();
    }


    template <class T>
    T& Get(std::string_view name) {
        return controls->Get<T>(name);
    }
    RecordingEdit& SizeEdit() { return Get<RecordingEdit>("SizeEdit"); }
    RecordingUpDown& SizeUpDown() { return Get<RecordingUpDown>("SizeUpDown"); }
    RecordingComboBox& RatioBox() { return Get<RecordingComboBox>("RatioComboBox"); }
    RecordingEdit& GridEdit() { return Get<RecordingEdit>("GridSizeEdit"); }
    RecordingCheckListBox& Options() { return Get<RecordingCheckListBox>("AdvCheckListBox"); }

    // The error boxes shown since creation.
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& l : ws.log)
            if (l.rfind("app.ShowMessage", 0) == 0) out.push_back(l);
        return out;
    }
    std::size_t Mark() const { return ws.log.size(); }
    bool Logged(std::size_t mark, const std::string& line) const {
        for (const auto& l : ws.Since(mark))
            if (l == line) return true;
        return false;
    }

    TRecordingWindowSystem ws;
    RecordingToolkit toolkit;
    TFakeFiles files;
    TFakeTextEngine text;
    TOverlayIcons icons;
    TSettings settings{1920};
    TCallLog calls;
    RecordingOverlay overlay{calls};
    std::unique_ptr<TSettingsForm> form;
    TRecordingWindow* window = nullptr;
    RecordingControls* controls = nullptr;
};

}  // namespace ratiscope::testing
