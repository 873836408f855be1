#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <cstdio>

#include "AllScreens.h"
#include "ProgramTest.h"

using namespace tolvane;
using namespace tolvane::screens;

namespace {

constexpr char kFingerprintVariable[] = "TOLVANE_PRINT_LAYOUT";

// How a control's text sits in its box, in device-independent pixels: whether
// a caption runs past its box, and how many lines a paragraph takes.
QString TextFit(QWidget& widget) {
    const QFontMetrics metrics(widget.font());
    if (auto* label = qobject_cast<QLabel*>(&widget)) {
        return metrics.horizontalAdvance(label->text()) > label->width() ? "clipped" : "fits";
    }
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        return metrics.horizontalAdvance(button->text()) > button->width() ? "clipped" : "fits";
    }
    if (auto* text = qobject_cast<QTextEdit*>(&widget)) {
        text->document()->size(); // lays the text out at the box's width
        int lines = 0;
        for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
            lines += block.layout()->lineCount();
        }
        return QString::number(lines) + " lines";
    }
    return {};
}

QString Layout(QWidget& window) {
    QString out =
        window.objectName() + QString(" %1x%2\n").arg(window.width()).arg(window.height());
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect r = child->geometry();
        out += QString("  %1 %2,%3 %4x%5 %6\n")
                   .arg(child->objectName())
                   .arg(r.x())
                   .arg(r.y())
                   .arg(r.width())
                   .arg(r.height())
                   .arg(TextFit(*child));
    }
    return out;
}

class HighDpiTest : public test::ProgramTest {};

} // namespace

// Runs in a child process under a given scale factor and prints every
// screen's layout.
TEST_F(HighDpiTest, PrintLayout) {
    if (qEnvironmentVariableIsEmpty(kFingerprintVariable))
        GTEST_SKIP() << "run by SameLayoutAtEveryScale";
    std::array<platform::Form*, 9> all{};
    Dispatch([&all] { all = test::ShowAllScreens(); });
    QString layouts;
    for (platform::Form* form : all)
        layouts += Layout(*form->Window());
    const qreal ratio = all[0]->Window()->devicePixelRatioF();
    std::fputs(qPrintable(QString("ratio %1\n<layout>\n%2</layout>\n").arg(ratio).arg(layouts)),
               stdout);
}

// Every screen at 125 %, 150 % and 200 % is the same layout as at 100 %:
// no control moves against another, no caption clips and no paragraph wraps
// differently.
TEST_F(HighDpiTest, SameLayoutAtEveryScale) {
    const auto layoutAt = [](const char* scale) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kFingerprintVariable, "1");
        env.insert("QT_SCALE_FACTOR", scale);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(env);
        child.start(QApplication::applicationFilePath(),
                    {"--gtest_filter=HighDpiTest.PrintLayout"});
        EXPECT_TRUE(child.waitForFinished(30000)) << scale;
        const QString out = QString::fromUtf8(child.readAllStandardOutput());
        const auto from = out.indexOf("<layout>");
        const auto to = out.indexOf("</layout>");
        EXPECT_GE(from, 0) << "no layout printed at scale " << scale;
        EXPECT_TRUE(out.contains(QString("ratio %1\n<layout>").arg(QString(scale).toDouble())))
            << "the scale factor did not take at " << scale << ": " << qPrintable(out.left(20));
        return from >= 0 && to > from ? out.mid(from, to - from) : QString();
    };
    const QString base = layoutAt("1");
    ASSERT_FALSE(base.isEmpty());
    EXPECT_TRUE(base.contains("Form1 694x498")) << qPrintable(base.left(200));
    for (const char* scale : {"1.25", "1.5", "2"}) {
        const QString scaled = layoutAt(scale);
        const QStringList a = base.split('\n');
        const QStringList b = scaled.split('\n');
        ASSERT_EQ(a.size(), b.size()) << scale;
        for (qsizetype i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i], b[i]) << "at scale " << scale;
        }
    }
}
