// The driver on the Qt binding, and the Qt test program's main: real mouse,
// key and input-method events on the widgets, found by name.
#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include "Application.h"
#include "Form.h"
#include "QtWindow.h"
#include "Walk.h"

namespace tolvane::check {
namespace {

QWidget* Window(Screen screen) { return platform::WidgetOf(FormOf(screen)); }

template <class Widget = QWidget>
Widget* Find(Screen screen, const std::string& name) {
    return Window(screen) ? Window(screen)->findChild<Widget*>(QString::fromStdString(name))
                          : nullptr;
}

class QtDriver final : public Driver {
public:
    // A report's box runs a loop of its own inside the action that failed: a
    // timer, which runs in any loop, reads it and clicks its OK. A loop that
    // runs on for seconds fails the test, and is left.
    QtDriver() {
        watch_.callOnTimeout([this] {
            looping_ = QThread::currentThread()->loopLevel() > 0 ? looping_ + 1 : 0;
            if (looping_ == 1000) { // ticks of 5 ms
                const QWidget* in = QApplication::activeWindow();
                ADD_FAILURE() << "still waiting after 5 s for an event loop to end, in "
                              << (in ? in->objectName().toStdString() : "no window");
                QCoreApplication::exit(-1);
            }
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            reports_.push_back((box->windowTitle() + u' ' + box->text()).toStdU16String());
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        watch_.start(5);
    }
    void Settle() override { looping_ = 0, QApplication::processEvents(); }
    void Press(Screen screen, const std::string& control, Input input, double at) override {
        QWidget* widget = Find(screen, control);
        if (input == Input::Mouse) {
            QTest::mouseClick(widget, Qt::LeftButton, {},
                              QPoint(int(at * (widget->width() - 1)), widget->height() / 2));
        } else {
            widget->setFocus(Qt::TabFocusReason);
            QTest::keyClick(widget, input == Input::Space ? Qt::Key_Space : Qt::Key_Return);
        }
        Settle();
    }
    // A key per character (Return for a line break), or one input-method
    // commit, where a click into the box put the focus.
    void Type(Screen screen, int box, const std::u16string& text, Input input) override {
        auto* edit = Find<QTextEdit>(screen, "Text" + std::to_string(box));
        QTest::mouseClick(edit->viewport(), Qt::LeftButton);
        QWidget* focus = edit->window()->focusWidget();
        QTest::keyClick(focus, Qt::Key_End, Qt::ControlModifier);
        const QString all = QString::fromStdU16String(text);
        QInputMethodEvent commit;
        commit.setCommitString(all);
        if (input == Input::Enter) QApplication::sendEvent(focus, &commit);
        for (qsizetype i = 0; input == Input::Mouse && i < all.size(); ++i) {
            const QString key = all.mid(i, all[i].isHighSurrogate() ? 2 : 1);
            const Qt::Key code = key == "\n" ? Qt::Key_Return : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Press, focus, code, key, {});
            QTest::sendKeyEvent(QTest::Release, focus, code, key, {});
            i += key.size() - 1;
        }
        Settle();
    }
    void Close(Screen screen) override { Window(screen)->windowHandle()->close(), Settle(); }
    void Tab(Screen screen, bool back) override {
        QWidget* focus =
            Window(screen)->focusWidget() ? Window(screen)->focusWidget() : Window(screen);
        QTest::keyClick(focus, back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
    }

    std::u16string Text(Screen screen, const std::string& control) override {
        const QWidget* widget = Find(screen, control);
        const char* property = qobject_cast<const QTextEdit*>(widget) ? "plainText" : "text";
        return widget ? widget->property(property).toString().toStdU16String() : u"(none)";
    }
    bool Loaded(Screen screen) override { return Window(screen); }
    bool Shown(Screen screen) override { return Window(screen) && Window(screen)->isVisible(); }
    std::pair<int, int> OffCentre(Screen screen) override {
        const QPoint off = Window(screen)->frameGeometry().center() -
                           QApplication::primaryScreen()->availableGeometry().center();
        return {off.x(), off.y()};
    }
    int Ticked(Screen screen, int box) override {
        const auto drawn = Find<QCheckBox>(screen, "Check" + std::to_string(box))->checkState();
        return drawn == Qt::Checked ? 1 : drawn == Qt::PartiallyChecked ? 2 : 0;
    }
    std::string Focus(Screen screen) override {
        const QWidget* focus = Window(screen)->focusWidget();
        return focus ? focus->objectName().toStdString() : "";
    }
    std::pair<platform::Rgb, platform::Rgb> Drawn(Screen screen, const std::string& name) override {
        const QWidget* w = Find(screen, name);
        const auto* area = qobject_cast<const QAbstractScrollArea*>(w); // drawn on its viewport
        const QWidget *face = area ? area->viewport() : w,
                      *back = area || w->autoFillBackground() ? face : w->parentWidget();
        const auto group = w->isEnabled() ? QPalette::Active : QPalette::Disabled;
        const QColor text = face->palette().color(group, face->foregroundRole()),
                     ground = back->palette().color(group, back->backgroundRole());
        return {{text.red(), text.green(), text.blue()},
                {ground.red(), ground.green(), ground.blue()}};
    }
    void DarkScheme(bool on) override {
        const QBrush w = Qt::white, b = Qt::black;
        QApplication::setPalette(on ? QPalette(w, b, b, b, b, w, w, b, b) : QPalette()), Settle();
    }
    std::vector<std::u16string> Reports() override { return Settle(), std::exchange(reports_, {}); }

private:
    QTimer watch_;
    int looping_ = 0; // ticks since a loop began, once the test handed over
    std::vector<std::u16string> reports_;
};

} // namespace

Driver& TheDriver() {
    static QtDriver driver;
    return driver;
}

} // namespace tolvane::check

int main(int argc, char* argv[]) {
    // The offscreen platform warns at every raise(); the tests raise a lot.
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.contains("does not support raise()"))
                std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    tolvane::platform::SetUpApplication();
    tolvane::check::TheDriver(); // watching for error reports from the start
    return RUN_ALL_TESTS();
}
