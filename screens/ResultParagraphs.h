#pragma once

#include <array>
#include <string_view>

// The paragraphs of the five result screens, in paragraph-box order
// (Text1, Text2, ...). Type B has a fifth paragraph; the others have four.
namespace tolvane::screens::paragraphs {

extern const std::array<std::u16string_view, 4> kTypeA;
extern const std::array<std::u16string_view, 5> kTypeB;
extern const std::array<std::u16string_view, 4> kTypeC;
extern const std::array<std::u16string_view, 4> kTypeD;
extern const std::array<std::u16string_view, 4> kTypeE;

} // namespace tolvane::screens::paragraphs
