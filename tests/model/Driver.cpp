#include "Driver.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "Form2.h"
#include "ResultScreens.h"
#include "Screens.h"

namespace tolvane::model {
namespace {

using platform::Form;
using platform::Operation;

const QString kPageTitles[] = {QStringLiteral(u"安全運転自己診断－１"),
                               QStringLiteral(u"安全運転自己診断－２")};
const QString kDialogLines[] = {QStringLiteral(u"チェックが重複しているか，"),
                                QStringLiteral(u"不足しているか，しています．"),
                                QStringLiteral(u"確認して下さい．")};
const QString kResultCaptions[] = {
    QStringLiteral(u"あなたはＡタイプ"), QStringLiteral(u"あなたはＢタイプ"),
    QStringLiteral(u"あなたはＣタイプ"), QStringLiteral(u"あなたはＤタイプ"),
    QStringLiteral(u"あなたはＥタイプ")};
const QChar kIdeographicSpace(0x3000);
const QChar kFullStop(0xFF0E);

QString Numbered(const char* prefix, int n) { return QLatin1String(prefix) + QString::number(n); }

// "　１．" for items 1 to 9, "１０．" from item 10 on.
QString NumberField(int item) {
    const auto digit = [](int d) { return QChar(0xFF10 + d); };
    QString field = item < 10 ? QString(kIdeographicSpace) : QString(digit(item / 10));
    return field + digit(item % 10) + kFullStop;
}

QString Text(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    // Text boxes of either kind of Qt editor carry their text as plainText.
    if (auto* box = qobject_cast<QAbstractScrollArea*>(widget)) {
        return box->property("plainText").toString();
    }
    return {};
}

std::string Utf8(const QString& text) { return text.toStdString(); }

void Press(QWidget* widget, Input input) {
    switch (input) {
    case Input::Mouse:
    case Input::Paste:
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
        return;
    case Input::Space: QTest::keyClick(widget, Qt::Key_Space); return;
    case Input::Enter: QTest::keyClick(widget, Qt::Key_Return); return;
    }
}

class Divergences {
public:
    explicit Divergences(std::vector<std::string>& out) : out_(out) {}
    void Expect(bool ok, const std::string& what) {
        if (!ok) out_.push_back(what);
    }
    void Same(const QString& actual, const QString& expected, const std::string& what) {
        if (actual == expected) return;
        if (actual.size() + expected.size() < 400) {
            out_.push_back(what + " reads \"" + Utf8(actual) + "\", expected \"" + Utf8(expected) +
                           "\"");
            return;
        }
        qsizetype at = 0;
        while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
            ++at;
        out_.push_back(what + " differs from code unit " + std::to_string(at) + " on; lengths " +
                       std::to_string(actual.size()) + " against " +
                       std::to_string(expected.size()));
    }
    template <class T>
    void Same(T actual, T expected, const std::string& what) {
        if (actual != expected) {
            out_.push_back(what + " is " + std::to_string(actual) + ", model says " +
                           std::to_string(expected));
        }
    }

private:
    std::vector<std::string>& out_;
};

} // namespace

// Types into a text box as a user would: click into it, go to the end, then
// one key per character (newlines by the Return key), the whole text as one
// input-method commit, or a paste. Keys and commits go where the window's
// focus is, which is the box only if the click could put it there.
void TypeInto(QAbstractScrollArea* box, const QString& text, Input input) {
    QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier,
                      box->viewport()->rect().center());
    QWidget* target = box->window()->focusWidget() ? box->window()->focusWidget() : box->window();
    QTest::keyClick(target, Qt::Key_End, Qt::ControlModifier);
    if (input == Input::Paste) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        return;
    }
    if (input == Input::Enter) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(target, &commit);
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair is one key; a half on its own is a key of its own.
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const qsizetype units = pair ? 2 : 1;
        const QString unit = text.mid(i, units);
        i += units - 1;
        const Qt::Key key = unit == u"\n"  ? Qt::Key_Return
                            : unit == u" " ? Qt::Key_Space
                                           : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, target, key, key == Qt::Key_Return ? QString() : unit,
                            Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, target, key, key == Qt::Key_Return ? QString() : unit,
                            Qt::NoModifier);
    }
}

const char* OperationName(Operation operation) {
    static constexpr const char* kNames[] = {"Load", "Show",  "Hide", "Caption",
                                             "Text", "Value", "Focus"};
    return kNames[int(operation)];
}

Driver::Driver() = default;

Driver::~Driver() = default;

void Driver::Start(std::optional<FaultPlan> plan) {
    runtime_.reset();
    reports_.clear();
    loads_.fill(0);
    operations_.fill(0);
    loadedTexts_.clear();
    armed_ = false;
    fired_.reset();
    afterFault_ = 0;
    runtime_ = std::make_unique<platform::Runtime>();
    runtime_->SetErrorPresenter([this](QMessageBox& box) {
        reports_.push_back(
            {box.windowTitle(), box.text(), box.windowModality() == Qt::ApplicationModal});
    });
    runtime_->SetFaultHook([this](Operation op, const std::string& where) -> std::optional<int> {
        if (fired_) {
            ++afterFault_;
            return std::nullopt;
        }
        ++operations_[int(op)];
        if (armed_ && (!plan_.kind || *plan_.kind == op) && --plan_.countdown == 0) {
            armed_ = false;
            fired_ = Fault{op, where, plan_.number};
            return plan_.number;
        }
        // A load is checked once, with the bare screen name, before it happens.
        if (op == Operation::Load) ++loads_[std::stoi(where.substr(4)) - 1];
        return std::nullopt;
    });
    if (plan) ArmFault(*plan);
    runtime_->Dispatch(screens::StartUp);
    QApplication::processEvents();
}

void Driver::ArmFault(const FaultPlan& plan) {
    armed_ = true;
    plan_ = plan;
}

platform::Form& Driver::FormOf(Screen screen) {
    using namespace screens;
    switch (screen) {
    case Screen::Form1: return The<Form1>();
    case Screen::Form2: return The<Form2>();
    case Screen::Form3: return The<Form3>();
    case Screen::Form4: return The<Form4>();
    case Screen::Form5: return The<Form5>();
    case Screen::Form6: return The<Form6>();
    case Screen::Form7: return The<Form7>();
    case Screen::Form8: return The<Form8>();
    case Screen::Form9: return The<Form9>();
    }
    return The<Form1>();
}

QWidget* Driver::Widget(Screen screen, const QString& name) {
    QWidget* window = FormOf(screen).Window();
    return window ? window->findChild<QWidget*>(name) : nullptr;
}

void Driver::Perform(const Action& action) {
    Deliver(action);
    // What the event loop would do next: paint, and run whatever was posted.
    QApplication::processEvents();
}

void Driver::Deliver(const Action& action) {
    QWidget* window = FormOf(action.screen).Window();
    if (!window) return;
    switch (action.kind) {
    case ActionKind::Toggle:
        if (QWidget* box = Widget(action.screen, Numbered("Check", action.control))) {
            Press(box, action.input);
        }
        return;
    case ActionKind::Click:
        if (QWidget* button = Widget(action.screen, Numbered("Command", action.control))) {
            Press(button, action.input);
        }
        return;
    case ActionKind::Type:
        if (auto* box = qobject_cast<QAbstractScrollArea*>(
                Widget(action.screen, Numbered("Text", action.control)))) {
            TypeInto(box, QString::fromStdU16String(action.text), action.input);
        }
        return;
    case ActionKind::Close:
        // As the window frame asks: through the platform window when there is one.
        if (QWindow* handle = window->windowHandle()) {
            handle->close();
        } else {
            window->close();
        }
        return;
    }
}

std::vector<std::string> Driver::Compare(const Model& model) {
    std::vector<std::string> out;
    Divergences d(out);
    d.Expect(runtime_->HasEnded() == model.Ended(),
             model.Ended() ? "the program still runs" : "the program has ended");
    if (model.Ended()) d.Same(runtime_->ExitStatus(), model.ExitStatus(), "exit status");
    d.Same(int(reports_.size()), 0, "error reports");

    for (Screen screen : kAllScreens) {
        const std::string name = Name(screen);
        Form& form = FormOf(screen);
        const ScreenState& expected = model.State(screen);
        const Form::State state = form.CurrentState();
        d.Expect((state != Form::State::NotLoaded) == expected.loaded,
                 name + (expected.loaded ? " is not loaded" : " is loaded"));
        d.Expect((state == Form::State::Visible) == expected.visible,
                 name + (expected.visible ? " is hidden" : " is visible"));
        d.Same(loads_[Index(screen)], expected.loads, name + " load count");
        QWidget* window = form.Window();
        if (!window || !expected.loaded) continue;
        const auto text = [&](const char* prefix, int n) {
            return Text(Widget(screen, Numbered(prefix, n)));
        };
        const auto where = [&](const char* prefix, int n) {
            return name + "." + prefix + std::to_string(n);
        };

        if (IsPage(screen)) {
            const int page = Index(screen) + 1;
            d.Same(window->windowTitle(), kPageTitles[page - 1], name + " title");
            d.Same(text("Label", 1), kPageTitles[page - 1], where("Label", 1));
            const QString note = text("Text", 1);
            d.Expect(note.size() == 63 && note.startsWith(kIdeographicSpace) &&
                         note.endsWith(kFullStop),
                     name + " source note is \"" + Utf8(note) + "\"");
            const QString commands[2][3] = {
                {QStringLiteral(u"次へ"), QStringLiteral(u"キャンセル"), QStringLiteral(u"終了")},
                {QStringLiteral(u"診断"), QStringLiteral(u"キャンセル"), QStringLiteral(u"戻る")}};
            for (int c = 1; c <= 3; ++c) {
                d.Same(text("Command", c), commands[page - 1][c - 1], where("Command", c));
            }
            for (int k = 1; k <= 16; ++k) {
                const int item = 16 * (page - 1) + k;
                const QString caption = text("Label", k + 1);
                d.Expect(caption.startsWith(NumberField(item)) &&
                             caption.size() == ItemCaptionLength(item),
                         where("Label", k + 1) + " reads \"" + Utf8(caption) + "\"");
                d.Same(text("Check", 2 * k - 1), QStringLiteral(u"はい"),
                       where("Check", 2 * k - 1));
                d.Same(text("Check", 2 * k), QStringLiteral(u"いいえ"), where("Check", 2 * k));
            }
            for (int box = 1; box <= 32; ++box) {
                auto* check =
                    qobject_cast<QAbstractButton*>(Widget(screen, Numbered("Check", box)));
                const int value = check && check->isChecked() ? 1 : 0;
                d.Same(value, model.Box(page, box), where("Check", box) + " value");
            }
        } else if (IsDialog(screen)) {
            d.Same(window->windowTitle(), QString::fromStdString(name), name + " title");
            for (int line = 1; line <= 3; ++line) {
                d.Same(text("Label", line), kDialogLines[line - 1], where("Label", line));
            }
            d.Same(text("Command", 1), QStringLiteral("OK"), where("Command", 1));
        } else {
            const int type = Index(screen) - Index(Screen::Form5);
            d.Same(window->windowTitle(), kResultCaptions[type], name + " title");
            d.Same(text("Label", 2), QStringLiteral(u"安全運転診断結果"), where("Label", 2));
            d.Same(text("Label", 1),
                   QStringLiteral(u"２つ以上のタイプにあてはまるときがあります．"),
                   where("Label", 1));
            d.Same(text("Command", 1), QStringLiteral(u"次へ"), where("Command", 1));
            d.Expect((Widget(screen, QStringLiteral("Text5")) != nullptr) ==
                         (ParagraphBoxes(screen) == 5),
                     name + " fifth paragraph box present or missing against the model");
            for (int box = 1; box <= ParagraphBoxes(screen); ++box) {
                const QString now = text("Text", box);
                const auto key = std::pair(Index(screen), box);
                auto loaded = loadedTexts_.find(key);
                if (loaded == loadedTexts_.end()) {
                    // First sight since the load: the paragraph as laid down.
                    const QString typed = QString::fromStdU16String(model.Typed(screen, box));
                    const QString original = now.left(now.size() - typed.size());
                    const int length = ParagraphLength(screen, box);
                    d.Expect(original.size() == length &&
                                 (length == 0 || original.startsWith(kIdeographicSpace)),
                             where("Text", box) + " after load reads \"" + Utf8(original) + "\"");
                    loaded = loadedTexts_.emplace(key, original).first;
                }
                d.Same(now, loaded->second + QString::fromStdU16String(model.Typed(screen, box)),
                       where("Text", box));
            }
        }
    }

    if (const auto result = model.FirstShownResult()) {
        QWidget* window = FormOf(*result).Window();
        d.Expect(window && window->focusWidget() == Widget(*result, QStringLiteral("Command1")),
                 Name(*result) + " does not have the focus on Command1 after its load");
    }

    const logic::DiagnosisState& state = screens::Module1();
    const Diagnosis& expected = model.Result();
    const int flags[] = {state.typeA, state.typeB, state.typeC, state.typeD, state.typeE};
    for (int type = 0; type < 5; ++type) {
        d.Same(flags[type], expected.flags[type], std::string("flag ") + char('A' + type));
    }
    d.Same(int(state.roughness), expected.roughness, "roughness score");
    d.Same(int(state.irritation), expected.irritation, "irritation score");
    d.Same(int(state.hesitation), expected.hesitation, "hesitation score");
    return out;
}

std::vector<std::string> Driver::CheckFailedEnd(int number) {
    std::vector<std::string> out;
    Divergences d(out);
    d.Same(int(reports_.size()), 1, "error reports");
    if (!reports_.empty()) {
        const Report& report = reports_.front();
        d.Same(report.title, QStringLiteral("tolvane"), "report title");
        d.Expect(report.modal, "the report is not modal");
        const QRegularExpression numbered(QStringLiteral("(^|\\D)%1(\\D|$)").arg(number));
        d.Expect(report.text.contains(numbered),
                 "the report \"" + Utf8(report.text) + "\" lacks " + std::to_string(number));
    }
    d.Expect(runtime_->HasEnded(), "the program still runs");
    d.Expect(runtime_->ExitStatus() != 0, "the exit status is 0");
    d.Same(afterFault_, 0, "operations after the fault");

    // No handler may run any more: pressing every button leaves all as it is.
    const auto loadsBefore = loads_;
    const auto operationsBefore = operations_;
    for (Screen screen : kAllScreens) {
        QWidget* window = FormOf(screen).Window();
        if (!window) continue;
        d.Expect(!window->isVisible(), Name(screen) + " is still visible");
        for (auto* button : window->findChildren<QAbstractButton*>()) {
            if (button->objectName().startsWith(QLatin1String("Command"))) button->click();
        }
        if (QWindow* handle = window->windowHandle()) handle->close();
    }
    d.Same(afterFault_, 0, "operations after the end");
    d.Expect(operations_ == operationsBefore, "an operation ran after the end");
    d.Same(int(reports_.size()), 1, "error reports after the end");
    d.Expect(loads_ == loadsBefore, "a screen loaded after the end");
    return out;
}

} // namespace tolvane::model
