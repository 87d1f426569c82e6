// JSON text is built by hand: the structure is fixed and small.
#include "shell/FigureJson.h"

#include <cstdio>

#include "overlay/OverlaySize.h"
#include "overlay/SectionGeometry.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsValues.h"

namespace ratiscope {

namespace {

// The length of the well-formed UTF-8 sequence that starts `s` (no overlong
// forms, no surrogates, nothing above U+10FFFF); 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

void AppendEscapedByte(std::string& out, unsigned char c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\u%04x", c);
    out += buf;
}

// Valid UTF-8 passes through; a byte that is not part of it (a value written
// in a single-byte code page) is escaped as the Latin-1 character of the same
// number, so the output is always valid JSON and valid UTF-8.
void AppendJsonString(std::string& out, std::string_view s) {
    out += '"';
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            if (const std::size_t n = Utf8SequenceLength(s.substr(i)); n > 0) {
                out.append(s.substr(i, n));
                i += n - 1;
            } else {
                AppendEscapedByte(out, c);
            }
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                AppendEscapedByte(out, c);
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

void AppendValue(std::string& out, const TSettingValue& v) {
    if (auto* i = std::get_if<std::int32_t>(&v))
        out += std::to_string(*i);
    else if (auto* b = std::get_if<bool>(&v))
        out += *b ? "true" : "false";
    else if (auto* d = std::get_if<double>(&v))
        out += FormatDoubleExact(*d);
    else
        AppendJsonString(out, std::get<std::string>(v));
}

void AppendPoint(std::string& out, TPoint p) {
    out += std::to_string(p.x);
    out += ',';
    out += std::to_string(p.y);
}

}  // namespace

std::string FigureJson(const TSettings& s) {
    std::string out = "{\"settings\":{";
    bool first = true;
    for (const auto& key : SettingsKeys()) {
        if (!first) out += ',';
        first = false;
        AppendJsonString(out, key.name);
        out += ':';
        AppendValue(out, key.value(s));
    }
    const TSize window = OverlayWindowSize(s);
    out += "},\"window\":{\"width\":" + std::to_string(window.width) + ",\"height\":" + std::to_string(window.height) +
           "},\"primitives\":[";

    const TFigure fig = BuildFigure(FigureInputFrom(s));
    first = true;
    for (const auto& p : fig.primitives) {
        if (!first) out += ',';
        first = false;
        const auto pts = fig.PointsOf(p);
        switch (p.kind) {
        case TPrimitiveKind::Line:
        case TPrimitiveKind::Circle:
            out += p.kind == TPrimitiveKind::Line ? "\n{\"line\":[" : "\n{\"circle\":[";
            AppendPoint(out, pts[0]);
            out += ',';
            AppendPoint(out, pts[1]);
            out += "]}";
            break;
        case TPrimitiveKind::Polyline:
            out += "\n{\"polyline\":[";
            for (std::size_t i = 0; i < pts.size(); ++i) {
                if (i) out += ',';
                out += '[';
                AppendPoint(out, pts[i]);
                out += ']';
            }
            out += "]}";
            break;
        }
    }
    out += "]}\n";
    return out;
}

}  // namespace ratiscope
