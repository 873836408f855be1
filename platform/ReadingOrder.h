#pragma once

#include <cstddef>
#include <vector>

#include "Layout.h"

namespace tolvane::platform {

// The order in which a screen's controls are read, as indices into its table:
// rows top to bottom, items in a row left to right, and a block that stands
// beside another (a column of buttons) after it. Found by a recursive XY cut
// of the boxes: split into columns where a gap runs the group's whole height,
// else into rows at every gap across it, and where boxes overlap both ways,
// top to bottom. A box that spans a gap between a row's items and the next's
// (a page's note over its answer columns) keeps the rows whole. Lines and
// hidden controls, never read, come last in table order.
std::vector<std::size_t> ReadingOrder(const FormSpec& layout);

} // namespace tolvane::platform
