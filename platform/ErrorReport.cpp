#include "ErrorReport.h"

#include "RuntimeError.h"

namespace tolvane::platform {
namespace {

std::u16string_view Description(int number) {
    switch (number) {
    case kInvalidCall: return u"この操作は，いまの状態では行えません．";
    case kOverflow: return u"計算の結果が扱える範囲を超えました（オーバーフロー）．";
    case kOutOfMemory: return u"メモリが不足しています．";
    case kInvalidProperty: return u"このコントロールには，その設定がありません．";
    case kInternalError: return u"予期しない内部エラーが発生しました．";
    default: return u"操作を完了できませんでした．";
    }
}

// Names and numbers are ASCII.
std::u16string Widen(const std::string& ascii) {
    std::u16string wide;
    for (const unsigned char c : ascii)
        wide += static_cast<char16_t>(c);
    return wide;
}

} // namespace

ErrorReport MakeErrorReport(const RuntimeError& error) {
    std::u16string text = u"実行時エラー " + Widen(std::to_string(error.Number())) + u"\n\n";
    text += Description(error.Number());
    text += u"\n（" + Widen(error.Where()) + u"）\n\nプログラムを終了します．";
    return {error.Number(), u"tolvane", std::move(text)};
}

std::u16string EndNotice(int status, int errorNumber) {
    if (status == 0) return u"診断を終了しました．";
    return u"エラーのため，プログラムを終了しました（実行時エラー " +
           Widen(std::to_string(errorNumber)) + u"）．";
}

} // namespace tolvane::platform
