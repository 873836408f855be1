#include "PageCheck.h"

#include "ItemCatalogue.h"

namespace tolvane::logic {

PageCheckResult CheckPage(AnswerSheet& sheet, int page) {
    for (int k = 1; k <= kItemsPerPage; ++k) {
        const Int16 yes = sheet.BoxValue(page, YesBox(k));
        const Int16 no = sheet.BoxValue(page, NoBox(k));
        if (CheckedAdd(no, yes, "page check") != 1) {
            return PageCheckResult::Fail;
        }
    }
    return PageCheckResult::Pass;
}

} // namespace tolvane::logic
