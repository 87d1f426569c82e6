// The proportion figure as plain data: an ordered list of lines, polylines and
// circle boxes in window client pixels, built without any window or canvas.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ratiscope {

struct TPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(TPoint, TPoint) = default;
};

enum class TPrimitiveKind : std::uint8_t {
    Line,      // two points; the second is not drawn
    Polyline,  // n points joined in turn; the last is not drawn
    Circle,    // two points: (left, top) and the exclusive (right, bottom) of the box
};

struct TPrimitive {
    TPrimitiveKind kind;
    std::uint32_t first;  // index of the first point in TFigure::points
    std::uint32_t count;
};

// Points of all primitives live in one array, so building a figure of
// thousands of segments costs a couple of allocations, not one per primitive.
struct TFigure {
    std::vector<TPrimitive> primitives;
    std::vector<TPoint> points;

    void Clear() {
        primitives.clear();
        points.clear();
    }
    void AddLine(TPoint from, TPoint to) {
        primitives.push_back({TPrimitiveKind::Line, Next(), 2});
        points.push_back(from);
        points.push_back(to);
    }
    void AddCircleBox(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
        primitives.push_back({TPrimitiveKind::Circle, Next(), 2});
        points.push_back({left, top});
        points.push_back({right, bottom});
    }
    // Starts a polyline; AddPolylinePoint extends the last one.
    void BeginPolyline(TPoint start) {
        primitives.push_back({TPrimitiveKind::Polyline, Next(), 1});
        points.push_back(start);
    }
    void AddPolylinePoint(TPoint p) {
        points.push_back(p);
        ++primitives.back().count;
    }
    std::span<const TPoint> PointsOf(const TPrimitive& p) const {
        return std::span<const TPoint>(points).subspan(p.first, p.count);
    }

private:
    std::uint32_t Next() const { return static_cast<std::uint32_t>(points.size()); }
};

}  // namespace ratiscope
