#include "Fonts.h"

#include <QStringList>

namespace tolvane::platform {
namespace {

const QString kGothic = QStringLiteral(u"ＭＳ ゴシック");
const QString kPGothic = QStringLiteral(u"ＭＳ Ｐゴシック");

} // namespace

void InstallFontSubstitutions() {
    QFont::insertSubstitutions(kGothic, QStringList{QStringLiteral("IPAGothic")});
    QFont::insertSubstitutions(kPGothic, QStringList{QStringLiteral("IPAPGothic")});
}

QFont DefaultFont() {
    QFont font(kPGothic);
    font.setPointSizeF(9.0);
    return font;
}

QFont MakeFont(const FontSpec& spec) {
    QFont font(QString::fromStdU16String(std::u16string(spec.family)));
    font.setPointSizeF(spec.points);
    font.setWeight(static_cast<QFont::Weight>(spec.weight));
    return font;
}

} // namespace tolvane::platform
