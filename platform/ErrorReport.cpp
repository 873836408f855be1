#include "ErrorReport.h"

#include <QMessageBox>

#include "RuntimeError.h"

namespace tolvane::platform {
namespace {

QString Description(int number) {
    switch (number) {
    case kInvalidCall: return QStringLiteral(u"この操作は，いまの状態では行えません．");
    case kOverflow:
        return QStringLiteral(u"計算の結果が扱える範囲を超えました（オーバーフロー）．");
    case kOutOfMemory: return QStringLiteral(u"メモリが不足しています．");
    case kInvalidProperty: return QStringLiteral(u"このコントロールには，その設定がありません．");
    case kInternalError: return QStringLiteral(u"予期しない内部エラーが発生しました．");
    default: return QStringLiteral(u"操作を完了できませんでした．");
    }
}

} // namespace

QString ErrorReportText(const RuntimeError& error) {
    return QStringLiteral(u"実行時エラー %1\n\n%2\n（%3）\n\nプログラムを終了します．")
        .arg(error.Number())
        .arg(Description(error.Number()), QString::fromStdString(error.Where()));
}

std::unique_ptr<QMessageBox> BuildErrorReport(const RuntimeError& error) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, QStringLiteral("tolvane"),
                                             ErrorReportText(error), QMessageBox::Ok);
    box->setObjectName(QStringLiteral("ErrorReport"));
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

} // namespace tolvane::platform
