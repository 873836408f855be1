#include "Walk.h"

#include <codecvt>
#include <deque>
#include <locale>
#include <random>

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "Form2.h"
#include "ItemCatalogue.h"
#include "ResultScreens.h"
#include "Screens.h"

namespace tolvane::check {
namespace {

using platform::Operation;

// The items whose yes answers each scale sums; item 22 is on two scales.
const std::vector<int> kScales[] = {{2, 3, 4, 5, 17, 18, 19, 20, 21, 22},
                                    {6, 7, 8, 9, 22, 23, 24, 25},
                                    {11, 12, 13, 14, 15, 28, 29, 30, 31}};
// Paragraph lengths after load on Form5 to Form9; 0 a box left empty.
constexpr int kParagraphs[5][5] = {{34, 142, 84, 85, -1},
                                   {43, 78, 58, 60, 108},
                                   {38, 48, 119, 94, 0},
                                   {40, 59, 125, 62, 0},
                                   {38, 41, 76, 76, 0}};

std::u16string Widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

// For messages, in UTF-8.
std::string Narrow(const std::u16string& text) {
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t>("?").to_bytes(
        text.substr(0, 120));
}

} // namespace

std::string Action::Describe() const {
    static const char* const kActs[] = {"tick", "click", "type into", "close", "read out"};
    static const char* const kInputs[] = {"mouse", "space", "enter", "paste"};
    return std::string(kActs[int(act)]) + " " + Name(screen) + " #" + std::to_string(control) +
           " by " + kInputs[int(input)] + " \"" + Narrow(text) + "\"";
}

Model::Model() {
    readout.fill({u"Label22", u"Label23", u"Label24"});
    Show(Screen::Form1);
}

bool Model::Passes(int page) const {
    for (int k = 0; k < 16; ++k)
        if (boxes[page - 1][2 * k] + boxes[page - 1][2 * k + 1] != 1) return false;
    return true;
}

void Model::Load(Screen screen) {
    const int i = int(screen);
    if (loaded[i]) return;
    loaded[i] = true;
    ++loads[i];
    // A result screen shows itself while loading and gives "次へ" the focus.
    if (IsResult(screen)) visible[i] = true, justLoaded = screen;
}

void Model::Show(Screen screen) { Load(screen), visible[int(screen)] = true; }

void Model::Hide(Screen screen) { Load(screen), visible[int(screen)] = false; }

// Reading page 2's boxes loads it, hidden.
void Model::Score() {
    Load(Screen::Form2);
    for (int scale = 0; scale < 3; ++scale) {
        scores[scale] = 0;
        for (const int item : kScales[scale])
            scores[scale] += boxes[(item - 1) / 16][2 * ((item - 1) % 16)];
    }
}

void Model::Click(Screen screen, int command) {
    using enum Screen;
    const auto move = [this](Screen from, Screen to) { Hide(from), Show(to); };
    const auto end = [this] { visible.fill(false), ended = true, exitStatus = 0; };
    switch (screen) {
    case Form1:
        if (command != 1) return end(); // cancel, exit
        return Passes(1) ? move(Form1, Form2) : Show(Form3);
    case Form2:
        if (command != 1) return command == 2 ? end() : move(Form2, Form1);
        if (!Passes(2)) return Show(Form4);
        // Page 1 can be spoiled again beside page 2 after its dialog's OK.
        if (!Passes(1)) return Show(Form3);
        Score();
        flags = {scores[0] >= 3, scores[1] >= 5, scores[2] >= 3, scores[2] == 0, 0};
        flags[4] = flags[0] + flags[1] + flags[2] + flags[3] == 0;
        ++diagnoses;
        Hide(Form2);
        for (int type = 0; type < 5; ++type)
            if (flags[type]) return Show(ScreenAt(4 + type));
        return;
    case Form3: return move(Form3, Form1);
    case Form4: return move(Form4, Form2);
    default:
        for (int type = int(screen) - 3; type < 5; ++type)
            if (flags[type]) return move(screen, ScreenAt(4 + type));
        Hide(screen), Hide(Form2), Show(Form1);
    }
}

void Model::Apply(const Action& action) {
    justLoaded.reset();
    if (ended) return;
    const int i = int(action.screen);
    switch (action.act) {
    case Act::Toggle: // Enter presses buttons only
        if (action.input != Input::Enter) boxes[i][action.control - 1] ^= 1;
        return;
    case Act::Click: return Click(action.screen, action.control);
    case Act::Type: // the pages' note box is disabled
        if (IsResult(action.screen)) typed[i][action.control - 1] += action.text;
        return;
    case Act::Close: // pages cancel, dialogs OK, result screens refuse
        if (i < 4 && !IsPage(action.screen)) Click(action.screen, 1);
        if (IsPage(action.screen)) Click(Screen::Form1, 2);
        return;
    case Act::ReadOut:
        Score();
        for (int label = 0; label < 3; ++label)
            readout[i][label] = Widen(std::to_string(scores[label]));
    }
}

std::vector<Action> Model::Choices() const {
    std::vector<Action> all;
    for (int i = 0; i < 9 && !ended; ++i) {
        const Screen screen = ScreenAt(i);
        if (!visible[i]) continue;
        all.push_back({Act::Close, screen});
        all.push_back({Act::Click, screen, 1});
        if (IsPage(screen)) {
            for (int box = 1; box <= 32; ++box)
                all.push_back({Act::Toggle, screen, box});
            all.insert(all.end(), {{Act::Click, screen, 2},
                                   {Act::Click, screen, 3},
                                   {Act::Type, screen, 1},
                                   {Act::ReadOut, screen}});
        }
        for (int box = 1; IsResult(screen) && box <= 4 + (i > 4); ++box)
            all.push_back({Act::Type, screen, box});
    }
    return all;
}

platform::Form& FormOf(Screen screen) {
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
    case Screen::Form9: break;
    }
    return The<Form9>();
}

Program::Program(std::optional<FaultPlan> plan)
    : runtime_(std::make_unique<platform::Runtime>()), plan_(plan) {
    runtime_->SetErrorPresenter([this](const platform::ErrorReport& r) { reports_.push_back(r); });
    runtime_->SetFaultHook([this](Operation op, const std::string& where) -> std::optional<int> {
        if (struck) return ++afterFault_, std::nullopt;
        ++operations[int(op)];
        if (plan_ && (!plan_->kind || plan_->kind == op) && --plan_->countdown == 0) {
            struck = op;
            return plan_->number;
        }
        // A load is checked on the bare screen name, once, before it happens.
        if (op == Operation::Load) ++loads_[std::stoi(where.substr(4)) - 1];
        return std::nullopt;
    });
    runtime_->Dispatch(screens::StartUp);
    TheDriver().Settle();
}

std::vector<std::string> Program::Do(const Action& a) {
    if (struck) return {}; // at start-up
    Driver& driver = TheDriver();
    switch (a.act) {
    case Act::Toggle: driver.Tick(a.screen, a.control, a.input, a.at); break;
    case Act::Click: driver.Click(a.screen, a.control, a.input); break;
    case Act::Type: driver.Type(a.screen, a.control, a.text, a.input); break;
    case Act::Close: driver.Close(a.screen); break;
    case Act::ReadOut: // the hidden button's handler, as a click would run it
        runtime_->Dispatch([page = a.screen] {
            if (page == Screen::Form1) return screens::The<screens::Form1>().Command4_Click();
            screens::The<screens::Form2>().Command4_Click();
        });
    }
    if (struck) return {};
    model.Apply(a);
    return Compare();
}

std::vector<std::string> Program::Compare() {
    Driver& driver = TheDriver();
    std::vector<std::string> out;
    const auto expect = [&out](bool ok, const std::string& what) {
        if (!ok) out.push_back(what);
    };
    const auto same = [&](std::u16string seen, std::u16string want, std::string what) {
        expect(seen == want,
               what + " reads \"" + Narrow(seen) + "\", not \"" + Narrow(want) + "\"");
    };
    const auto number = [&](long seen, long want, std::string what) {
        expect(seen == want,
               what + " is " + std::to_string(seen) + ", not " + std::to_string(want));
    };
    expect(runtime_->HasEnded() == model.ended, "the program has or has not ended");
    if (model.ended) number(runtime_->ExitStatus(), model.exitStatus, "the exit status");
    number(long(reports_.size()), 0, "error reports");
    for (int i = 0; i < 9; ++i) {
        const Screen screen = ScreenAt(i);
        const std::string name = Name(screen);
        const bool loaded = FormOf(screen).Native();
        expect(loaded == model.loaded[i], name + " is or is not loaded");
        number(loads_[i], model.loads[i], name + "'s loads");
        if (!loaded || !model.loaded[i]) continue;
        expect(driver.Visible(screen) == model.visible[i], name + " is or is not visible");
        const auto text = [&](std::string control) { return driver.Text(screen, control); };
        const auto check = [&](std::string control, std::u16string want) {
            same(text(control), want, name + "." + control);
        };
        if (IsPage(screen)) {
            const std::u16string title =
                u"安全運転自己診断－" + std::u16string(1, char16_t(u'１' + i));
            same(driver.Title(screen), title, name + "'s title");
            check("Label1", title);
            const std::u16string note = text("Text1");
            expect(note.size() == 63 && note[0] == u'　' && note.back() == u'．' &&
                       note.find(u'「') < note.find(u'」') && note.find(u'」') < 63,
                   name + "'s note reads \"" + Narrow(note) + "\"");
            check("Command1", i ? u"診断" : u"次へ");
            check("Command2", u"キャンセル");
            check("Command3", i ? u"戻る" : u"終了");
            for (int k = 1; k <= 16; ++k) {
                const int item = 16 * i + k;
                check("Label" + std::to_string(k + 1), logic::ItemCaption(item));
                check("Check" + std::to_string(2 * k - 1), u"はい");
                check("Check" + std::to_string(2 * k), u"いいえ");
            }
            for (int box = 1; box <= 32; ++box)
                number(driver.Value(screen, box), model.boxes[i][box - 1],
                       name + ".Check" + std::to_string(box));
            for (int label = 0; label < 3; ++label)
                check("Label" + std::to_string(22 + label), model.readout[i][label]);
        } else if (!IsResult(screen)) {
            same(driver.Title(screen), Widen(name), name + "'s title");
            check("Label1", u"チェックが重複しているか，");
            check("Label2", u"不足しているか，しています．");
            check("Label3", u"確認して下さい．");
            check("Command1", u"OK");
        } else {
            same(driver.Title(screen),
                 u"あなたは" + std::u16string(1, char16_t(u'Ａ' + i - 4)) + u"タイプ",
                 name + "'s title");
            check("Label2", u"安全運転診断結果");
            check("Label1", u"２つ以上のタイプにあてはまるときがあります．");
            check("Command1", u"次へ");
            for (int box = 1; box <= 5; ++box) {
                const std::string control = "Text" + std::to_string(box);
                const std::u16string now = text(control), &typed = model.typed[i][box - 1];
                std::u16string& laid = loadedTexts_[i][box - 1];
                // First seen since the load: the paragraph as laid down.
                if (laid.empty() && now.size() >= typed.size()) {
                    laid = now.substr(0, now.size() - typed.size());
                    const int length = kParagraphs[i - 4][box - 1];
                    expect(length < 0 ? laid == u"(none)"
                                      : int(laid.size()) == length && (!length || laid[0] == u'　'),
                           name + "." + control + " after load reads \"" + Narrow(laid) + "\"");
                }
                same(now, laid + typed, name + "." + control);
            }
        }
    }
    if (model.justLoaded)
        expect(driver.Focus(*model.justLoaded) == "Command1",
               Name(*model.justLoaded) + " lacks the focus on 次へ");
    const logic::DiagnosisState& state = screens::Module1();
    const int seen[] = {state.typeA, state.typeB,     state.typeC,      state.typeD,
                        state.typeE, state.roughness, state.irritation, state.hesitation};
    for (int i = 0; i < 8; ++i)
        number(seen[i], i < 5 ? model.flags[i] : model.scores[i - 5],
               "diagnosis field " + std::to_string(i));
    return out;
}

std::vector<std::string> Program::CheckFailedEnd(int number) {
    std::vector<std::string> out;
    const auto expect = [&out](bool ok, const std::string& what) {
        if (!ok) out.push_back(what);
    };
    expect(reports_.size() == 1, std::to_string(reports_.size()) + " error reports");
    if (!reports_.empty()) {
        // The number on its own, not as part of another one.
        const std::u16string text = u" " + reports_[0].text + u" ",
                             digits = Widen(std::to_string(number));
        const auto at = text.find(digits);
        const auto digit = [&text](std::size_t i) { return text[i] >= u'0' && text[i] <= u'9'; };
        expect(reports_[0].title == u"tolvane" && at != text.npos && !digit(at - 1) &&
                   !digit(at + digits.size()),
               "the report \"" + Narrow(text) + "\" does not give " + std::to_string(number));
    }
    expect(runtime_->HasEnded() && runtime_->ExitStatus() != 0, "the program runs or left with 0");
    for (int i = 0; i < 9; ++i)
        expect(!FormOf(ScreenAt(i)).Native() || !TheDriver().Visible(ScreenAt(i)),
               Name(ScreenAt(i)) + " is left visible");
    bool ran = false;
    runtime_->Dispatch([&ran] { ran = true; });
    expect(!ran && afterFault_ == 0, "the program ran on after the error");
    return out;
}

namespace {

// Latin, kana and kanji, full-width digits, a character outside the basic
// plane, line breaks.
const std::u16string kTyping[] = {u"abc",        u"Z",  u"あいう", u"運転", u"カタカナ", u"１２３",
                                  u"\U0001F697", u"\n", u" ",      u"．",   u"!?"};

class Walker {
public:
    Walker(unsigned long long seed, bool faults) : seed_(seed), faults_(faults), random_(seed) {}

    WalkStats Walk(long steps) {
        Restart();
        while (stats_.steps < steps && stats_.failure.empty())
            ++stats_.steps, Step();
        stats_.diagnoses += program_->model.diagnoses;
        return stats_;
    }

private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    double Uniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); }

    void Restart() {
        if (program_) stats_.diagnoses += program_->model.diagnoses;
        program_.reset(); // one runtime at a time
        std::optional<FaultPlan> plan;
        if (faults_) {
            // 7: whatever operation comes. Captions, texts, values come by the dozen.
            const int kind = Below(8);
            const bool many = kind == 7 || kind == 3 || kind == 4 || kind == 5;
            number_ = 1000 + Below(29000);
            plan = FaultPlan{kind < 7 ? std::optional(Operation(kind)) : std::nullopt,
                             1 + Below(many ? 150 : 6), number_};
        }
        program_ = std::make_unique<Program>(plan);
        ++stats_.programs;
        diagnosed_ = 0;
    }

    // Mostly answering, leaning to yes or no by the mood of the moment, and
    // moving on; now and then spoiling an answer or typing; rarely leaving.
    double Weight(const Action& a) const {
        const Model& m = program_->model;
        switch (a.act) {
        case Act::Toggle: {
            const auto& page = m.boxes[int(a.screen)];
            const int first = (a.control - 1) & ~1;
            if (page[first] + page[first + 1] == 1) return 0.3;
            return 24 * (a.control % 2 ? leaning_ : 1 - leaning_);
        }
        case Act::Click:
            if (!IsPage(a.screen)) return IsResult(a.screen) ? 10 : 5;
            return a.control == 1 ? 6 : a.screen == Screen::Form2 && a.control == 3 ? 2 : 0.08;
        case Act::Close: return IsPage(a.screen) ? 0.05 : 0.8;
        default: return 0.35;
        }
    }

    Action Choose() {
        std::vector<Action> choices = program_->model.Choices();
        std::vector<double> weights;
        for (const Action& choice : choices)
            weights.push_back(Weight(choice));
        Action a = choices[std::discrete_distribution<std::size_t>(weights.begin(),
                                                                   weights.end())(random_)];
        const double how = Uniform();
        a.at = 0.02 + 0.96 * Uniform();
        a.input = how < 0.7 ? Input::Mouse : how < 0.85 ? Input::Space : Input::Enter;
        if (a.act == Act::Type) {
            for (int pieces = 1 + Below(4); pieces > 0; --pieces) {
                const std::u16string& piece = kTyping[Below(std::size(kTyping))];
                // Keys at the disabled note go to whatever has the focus,
                // which a space or Return would press.
                if (IsResult(a.screen) || (piece != u" " && piece != u"\n")) a.text += piece;
            }
            a.input = how < 0.25 ? Input::Enter : how < 0.4 ? Input::Paste : Input::Mouse;
        }
        return a;
    }

    void Step() {
        if (program_->model.diagnoses != diagnosed_ || stats_.steps == 1)
            diagnosed_ = program_->model.diagnoses, leaning_ = Uniform();
        const Action action = Choose();
        recent_.push_back(action.Describe());
        if (recent_.size() > 12) recent_.pop_front();
        std::vector<std::string> problems = program_->Do(action);
        if (program_->struck) ++stats_.faults, problems = program_->CheckFailedEnd(number_);
        if (problems.empty()) {
            if (program_->struck || program_->model.ended) Restart();
            return;
        }
        stats_.failure =
            "seed " + std::to_string(seed_) + ", step " + std::to_string(stats_.steps) + ":\n";
        for (const std::string& line : recent_)
            stats_.failure += "  " + line + "\n";
        for (const std::string& line : problems)
            stats_.failure += "  => " + line + "\n";
    }

    unsigned long long seed_;
    bool faults_;
    std::mt19937_64 random_;
    std::unique_ptr<Program> program_;
    WalkStats stats_;
    std::deque<std::string> recent_;
    int number_ = 0, diagnosed_ = 0;
    double leaning_ = 0.5;
};

} // namespace

WalkStats RunWalk(unsigned long long seed, long steps, bool faults) {
    return Walker(seed, faults).Walk(steps);
}

} // namespace tolvane::check
