#pragma once

#include "elementid.h"
#include "layout.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace quorvale::web {

// One shape as the page draws it, in the drawing order (the label is drawn apart): its place
// and size in twips, its kind (an index into the layout's shape kinds), fill and border as
// 0xRRGGBB and border width in pixels. The page reads the records in place, each field by the
// name the layout gives it, so a tick costs no text.
struct ShapeRecord
{
    double left;
    double top;
    double width;
    double height;
    double shape;
    double fillColor;
    double borderColor;
    double borderWidth;
};
inline constexpr std::array<std::string_view, 8> shapeRecordFields = {
    "left", "top", "width", "height", "shape", "fillColor", "borderColor", "borderWidth"};
static_assert(sizeof(ShapeRecord) == shapeRecordFields.size() * sizeof(double));

inline constexpr std::size_t shapeCount = [] {
    std::size_t n = 0;
    for (const Element e : layout::drawingOrder)
        n += isShape(e) ? 1 : 0;
    return n;
}();

} // namespace quorvale::web
