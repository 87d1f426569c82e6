// Start-up, the two windows, the message loop and shutdown, in the order the
// windows depend on each other: the panel borrows the overlay's icons.
#include "shell/Program.h"

#include <memory>
#include <optional>

#include "base/Product.h"
#include "overlay/HotkeyText.h"
#include "overlay/MainFrm.h"
#include "overlay/OverlayIcons.h"
#include "panel/SettingsFrm.h"
#include "platform/Controls.h"
#include "platform/Desktop.h"
#include "base/Files.h"
#include "platform/Window.h"
#include "resources/Resources.h"
#include "settings/Folders.h"
#include "settings/LangTable.h"
#include "settings/FigureLibrary.h"
#include "settings/LanguageFiles.h"
#include "settings/Settings.h"
#include "shell/Links.h"
#include "shell/PanelOnDemand.h"
#include "shell/StartUp.h"

namespace ratiscope {

int RunProgram(std::span<const std::string> arguments, const TProgramPlatform& platform) {
    IWindowSystem& windows = platform.windows;
    TLinks links(platform.desktop, platform.files, ProgramFolder(platform.files));
    const TStartUpServices services{
        platform.files,
        LanguageTable(),
        [&links](std::string_view address) { links.OpenWebPage(address); },
        [&windows] { return windows.ColorDepth(); },
        [&windows](TMessageKind kind, std::string_view caption, std::string_view message) {
            windows.ShowMessage(kind, caption, message);
        },
        platform.userLocale,
    };

    // The look list offers the figure files found now; a file added later
    // comes with the next start.
    FigureLibrary() = LoadFigureLibrary(platform.files);
    std::optional<TSettings> settings;
    if (!StartUp(settings, windows.PrimaryScreenWidth(), arguments, services)) {
        ClearLanguageTable();
        FigureLibrary() = {};
        return 0;
    }

    FallBackFromMissingFigure(*settings, FigureLibrary());

    int code = 0;
    {
        TMainForm form(*settings, TMainFormServices{
                                      windows,
                                      LoadOverlayIcons,
                                      [&links] { links.OpenManual(); },
                                  });
        form.FormCreate();

        // The settings panel comes second: it borrows three of the overlay's
        // icons. A panel to be shown is built once the overlay has shown its
        // first picture, which it would otherwise hold up by as long as it
        // takes to build; a hidden one only when it is first shown.
        std::optional<TSettingsForm> panel;
        TPanelOnDemand panelLink(*settings, [&]() -> IPanelLink& {
            panel.emplace(*settings, form.Icons(),
                          TSettingsFormServices{
                              windows,
                              platform.controls,
                              platform.files,
                              LoadProgramIcon,
                              [&links] { links.OpenManual(); },
                              [&links](std::string_view page) { links.OpenWebPage(VendorPage(page)); },
                              form.Window(),
                              [&form] { form.ActionFitExecute(); },
                          });
            panel->FormCreate();
            return *panel;
        });
        form.SetPanel(&panelLink);
        if (settings->SVisible) {
            if (IWindow* overlay = form.Window())
                windows.AfterFirstPaint(*overlay, [&panelLink] { panelLink.Build(); });
            else
                panelLink.Build();
        }

        // The show-and-hide key works from any program until the windows are gone.
        if (platform.hotkey)
            StartHotkey(settings->Hotkey, *platform.hotkey, [&form] { form.ActionShowHideExecute(); },
                        [&windows](const std::string& text) { windows.ShowMessage(TMessageKind::Warning, kProductName, text); });

        code = windows.Run();
        if (platform.hotkey) platform.hotkey->Unregister();
        form.SetPanel(nullptr);
    }

    // Both windows are gone; the settings they copied at close are saved now.
    const int saved = ShutDown(settings, services);
    ClearLanguageTable();
    FigureLibrary() = {};
    return saved != 0 ? saved : code;
}

}  // namespace ratiscope
