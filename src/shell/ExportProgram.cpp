// The overlay's figure as JSON, or its whole picture as a transparent PNG or
// as SVG vectors, for any settings and without a window.
#include "shell/ExportProgram.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <variant>
#include <vector>

#include "base/Files.h"
#include "overlay/OverlayIcons.h"
#include "overlay/OverlaySize.h"
#include "overlay/Renderer.h"
#include "platform/TextEngine.h"
#include "platform/raster/RasterCanvas.h"
#include "settings/FigureLibrary.h"
#include "settings/LangTable.h"
#include "settings/LanguageFiles.h"
#include "settings/LanguageKeys.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"
#include "shell/ExportOptions.h"
#include "shell/FigureJson.h"
#include "shell/LabelFont.h"
#include "shell/StartUp.h"
#include "shell/SvgCanvas.h"

namespace ratiscope {
namespace {

// A PNG is held whole in memory twice (pixels and encoding), so its size is
// capped well below what a hand-made settings value can ask for.
constexpr std::int64_t kMaxPngSide = 16384;
constexpr std::int64_t kMaxPngPixels = std::int64_t{8192} * 8192;
// No screen is asked for: the panel position is computed as for a screen this wide.
constexpr std::int32_t kAssumedScreenWidth = 1920;

int Fail(const std::string& message, int code) {
    std::fprintf(stderr, "ratiscope-export: %s\n", message.c_str());
    return code;
}

// What the overlay window shows: the composed picture with the orientation
// mark drawn over it.
void Paint(ICanvas& canvas, const TSettings& s, bool active) {
    ComposeImage(canvas, s, LoadOverlayIcons(), active);
    DrawOrientMark(canvas, s, canvas.Size().width);
}

int Print(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    return Fail(std::string("cannot write to standard output: ") + std::strerror(errno), 1);
}

// Standard output for no name or "-", else the file.
int WriteOutput(const std::string& output, std::string_view content, const TExportPlatform& platform) {
    if (output.empty() || output == kStandardOutputName) return Print(content);
    if (std::string err = platform.writeFile(output, content); !err.empty()) return Fail(err, 1);
    return 0;
}

int ExportPicture(const TSettings& s, const TExportOptions& o, const TExportPlatform& platform) {
    const TSize window = OverlayWindowSize(s);
    const std::int64_t width = window.width, height = window.height;
    if (o.format == "png" && (width > kMaxPngSide || height > kMaxPngSide || width * height > kMaxPngPixels))
        return Fail("cannot write " + o.output + ": a picture of " + std::to_string(width) + " x " +
                        std::to_string(height) + " pixels is too large for PNG (use --format svg)",
                    1);
    MergeFallbackTexts();

    std::string content;
    if (o.format == "png") {
        const std::unique_ptr<ITextEngine> text = platform.createTextEngine();
        if (!text) return Fail("cannot write " + o.output + ": no text engine", 1);
        TRasterCanvas canvas(*text);
        Paint(canvas, s, o.active);
        const std::vector<std::uint8_t> png = platform.encodePng(canvas.Image(), kOverlayKeyColor);
        if (png.empty()) return Fail("cannot write " + o.output + ": the picture could not be encoded as PNG", 1);
        content.assign(png.begin(), png.end());
    } else {
        // The viewer draws an SVG's text, so its layout comes from the label
        // font's table, the same on every platform, not from this machine's glyphs.
        TLabelFont font;
        TSvgCanvas canvas(font, kOverlayKeyColor);
        Paint(canvas, s, o.active);
        content = canvas.Document();
    }
    return WriteOutput(o.output, content, platform);
}

// --figure: the file joins the library in place of any of the same name.
std::string UseFigureFile(TSettings& settings, IFiles& files, const std::string& path) {
    auto read = LoadFigureFile(files, path);
    if (const auto* problem = std::get_if<TFigureProblem>(&read)) return path + ": " + problem->message;
    TFigureEntry& entry = std::get<TFigureEntry>(read);
    std::vector<TFigureEntry>& figures = FigureLibrary().figures;
    std::erase_if(figures, [&](const TFigureEntry& e) { return e.fileName == entry.fileName; });
    const std::string name = entry.fileName;
    figures.push_back(std::move(entry));
    settings.ChooseFigure(name);
    return {};
}

// --check-language: the language file on its own, without English under it.
int CheckLanguageFile(IFiles& files, const std::string& name) {
    TLangTable own;
    if (!LoadLanguage(own, files, name))
        return Fail("no readable language file " + name + ".lng in the program folder or the data folders", 1);
    const TLanguageCheck check = CheckLanguage(own);
    if (Print(LanguageCheckReport(name, check)) != 0) return 1;
    return check.Complete() ? 0 : 1;
}

}  // namespace

int RunExport(std::span<const std::string> arguments, const TExportPlatform& platform) {
    const std::vector<std::string> args(arguments.begin(), arguments.end());
    TExportParse parsed = ParseExportArguments(args);
    if (!parsed.options) return Fail(parsed.error, 2);
    const TExportOptions& o = *parsed.options;
    // Help wins over version, as for the program itself.
    if (o.help) return Print(kExportUsage);
    if (o.version) return Print(VersionText());
    IFiles& files = platform.files;
    if (!o.checkLanguage.empty()) return CheckLanguageFile(files, o.checkLanguage);
    // As at the program's start: a settings file's Figure names one of these.
    FigureLibrary() = LoadFigureLibrary(files);
    TSettings settings(kAssumedScreenWidth);
    if (!o.settingsFile.empty() &&
        !LoadSettingsFile(settings, files, o.settingsFile, EnvironmentDecimalSeparator()))
        return Fail("cannot read the settings file " + o.settingsFile, 2);
    FallBackFromMissingFigure(settings, FigureLibrary());
    if (std::string err = ApplyExportOptions(settings, o); !err.empty()) return Fail(err, 2);
    if (!o.figureFile.empty())
        if (std::string err = UseFigureFile(settings, files, o.figureFile); !err.empty()) return Fail(err, 2);
    if (o.texts) {
        SelectLanguageTexts(LanguageTable(), files, o.language.empty() ? settings.Lang : o.language);
        return Print(LanguageTextsListing(LanguageTable()));
    }
    if (!o.language.empty()) SelectLanguageTexts(LanguageTable(), files, o.language);
    if (o.format != "json") return ExportPicture(settings, o, platform);

    return WriteOutput(o.output, FigureJson(settings), platform);
}

}  // namespace ratiscope
