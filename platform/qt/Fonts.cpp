#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include "FormRules.h"

namespace tolvane::platform {
namespace {

const QString kGothic = QStringLiteral(u"ＭＳ ゴシック");
const QString kPGothic = QStringLiteral(u"ＭＳ Ｐゴシック");
const QString kIpaGothic = QStringLiteral("IPAGothic");
const QString kIpaPGothic = QStringLiteral("IPAPGothic");

// Every character of the program's texts is in both IPA faces, so where they
// are installed no glyph need come from another font. Saying so spares Qt its
// search for fallback fonts, a fifth of the work before the first window.
// Without them, Qt may still merge in whatever font has the glyphs.
QFont::StyleStrategy Merging() {
    static const bool installed = [] {
        const QStringList families = QFontDatabase::families();
        return families.contains(kIpaGothic) && families.contains(kIpaPGothic);
    }();
    return installed ? QFont::NoFontMerging : QFont::PreferDefault;
}

} // namespace

void InstallFontSubstitutions() {
    QFont::insertSubstitutions(kGothic, QStringList{kIpaGothic});
    QFont::insertSubstitutions(kPGothic, QStringList{kIpaPGothic});
}

QFont DefaultFont() { return MakeFont(kDefaultFont); }

QFont MakeFont(const FontSpec& face) {
    QFont font(QString::fromStdU16String(std::u16string(face.family)));
    font.setPointSizeF(face.points);
    font.setWeight(static_cast<QFont::Weight>(face.weight));
    font.setStyleStrategy(Merging());
    return font;
}

QFont WithFallback(QFont font) {
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

} // namespace tolvane::platform
