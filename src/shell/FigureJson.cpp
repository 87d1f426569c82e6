// JSON text is built by hand: the structure is fixed and small.
#include "shell/FigureJson.h"

#include <cstdio>

#include "overlay/SectionGeometry.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsValues.h"

namespace ratiscope {

namespace {

void AppendJsonString(std::string& out, std::string_view s) {
    out += '"';
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
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
    out += "},\"window\":{\"width\":" + std::to_string(s.Width + 2 * s.Border) +
           ",\"height\":" + std::to_string(s.Height + 2 * s.Border + 16) + "},\"primitives\":[";

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
