// The floor under tolvane's start-up: a plain Qt program that shows a window
// of page 1's size with page 1's texts in two labels, the title in the
// fixed-pitch Gothic face and everything else in the proportional one. It
// draws the glyphs page 1 draws, and nothing of the runtime around them.
#include <QApplication>
#include <QLabel>

#include "ItemCatalogue.h"
#include "SourceNote.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const auto q = [](std::u16string_view t) {
        return QString::fromStdU16String(std::u16string(t));
    };
    QWidget window;
    window.setWindowTitle(q(u"安全運転自己診断－１"));
    window.resize(694, 498);
    QLabel title(q(u"安全運転自己診断－１"), &window);
    QFont gothic("IPAGothic");
    gothic.setPointSizeF(15.6), gothic.setBold(true);
    title.setFont(gothic);
    title.move(24, 8);
    QString rest = q(tolvane::screens::kSourceNote) + '\n';
    for (int item = 1; item <= 16; ++item)
        rest += q(tolvane::logic::ItemCaption(item)) + q(u"　はい　いいえ\n");
    QLabel body(rest + q(u"次へ　キャンセル　終了　by Zenth 2000"), &window);
    body.setFont(QFont("IPAPGothic", 9));
    body.move(40, 40);
    window.show();
    return QApplication::exec();
}
