#include "SourceNote.h"

namespace tolvane::screens {

// Credits the published test the questions were adapted from; the leading
// U+3000 indents it like a paragraph on the question pages.
const std::u16string_view kSourceNote =
    u"　この診断は，警察の交通局と研究所が監修し，全国的な交通安全協会が発行した安全運転適性検査「"
    u"ＤＳＴ－７」を参考にして作成した．";

} // namespace tolvane::screens
