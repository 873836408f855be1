#include "Walk.h"

#include <algorithm>
#include <codecvt>
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

using enum Screen;
using platform::Operation;

// The items whose yes answers each scale sums; item 22 is on two scales.
const std::vector<int> kScales[] = {{2, 3, 4, 5, 17, 18, 19, 20, 21, 22},
                                    {6, 7, 8, 9, 22, 23, 24, 25},
                                    {11, 12, 13, 14, 15, 28, 29, 30, 31}};

std::string Narrow(const std::u16string& text) { // for messages
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t>("?").to_bytes(
        text.substr(0, 99));
}

std::string Show(const std::u16string& text) { return '"' + Narrow(text) + '"'; }
std::string Show(auto number) { return std::to_string(number); }

std::string Describe(const Action& a) {
    const char* const acts[] = {"tick", "click", "type into", "close"};
    return acts[int(a.act)] + (" " + Name(a.screen)) + " #" + std::to_string(a.control) +
           " input " + std::to_string(int(a.input)) + " " + Show(a.text);
}

} // namespace

Model::Model() { Show(Form1); }

bool Model::Passes(int page) const {
    for (int k = 0; k < 32; k += 2)
        if (boxes[page - 1][k] + boxes[page - 1][k + 1] != 1) return false;
    return true;
}

// A result screen shows itself while loading and gives "次へ" the focus.
void Model::Load(Screen screen) {
    const int i = int(screen);
    if (loaded[i]) return;
    loaded[i] = true, ++loads[i];
    if (i >= 4) visible[i] = true, justLoaded = screen;
}

// Reading page 2's boxes loads it, hidden.
void Model::Score() {
    Load(Form2);
    for (int scale = 0; scale < 3; ++scale) {
        scores[scale] = 0;
        for (const int item : kScales[scale])
            scores[scale] += boxes[(item - 1) / 16][2 * ((item - 1) % 16)];
    }
}

void Model::Click(Screen screen, int command) {
    const auto move = [this](Screen from, Screen to) { Hide(from), Show(to); };
    switch (screen) {
    case Form1:
        if (command == 1) return Passes(1) ? move(Form1, Form2) : Show(Form3);
        visible.fill(false), ended = true, exitStatus = 0; // cancel, exit
        return;
    case Form2:
        if (command != 1) return command == 3 ? move(Form2, Form1) : Click(Form1, 2);
        // Page 1 can be spoiled again beside page 2 after its dialog's OK.
        if (!Passes(2) || !Passes(1)) return Show(Passes(2) ? Form3 : Form4);
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

void Model::Apply(const Action& a) {
    justLoaded.reset();
    if (ended) return;
    const int i = int(a.screen);
    switch (a.act) {
    case Act::Toggle: // Enter presses buttons only
        if (a.input != Input::Enter) boxes[i][a.control - 1] ^= 1;
        return;
    case Act::Type: // the pages' note box is disabled
        if (i >= 4) typed[i][a.control - 1] += a.text;
        return;
    case Act::Close: // pages cancel, dialogs OK, result screens refuse
        if (i < 4) Click(a.screen, i < 2 ? 2 : 1);
        return;
    case Act::Click: Click(a.screen, a.control);
    }
}

std::vector<Action> Model::Choices() const {
    std::vector<Action> all;
    for (int i = 0; i < 9 && !ended; ++i) {
        const Screen screen = ScreenAt(i);
        if (!visible[i]) continue;
        all.insert(all.end(), {{Act::Close, screen}, {Act::Click, screen, 1}});
        for (int box = 1; i < 2 && box <= 32; ++box)
            all.push_back({Act::Toggle, screen, box});
        if (i < 2)
            all.insert(all.end(),
                       {{Act::Click, screen, 2}, {Act::Click, screen, 3}, {Act::Type, screen, 1}});
        for (int box = 1; i >= 4 && box <= 4 + (i > 4); ++box)
            all.push_back({Act::Type, screen, box});
    }
    return all;
}

platform::Form& FormOf(Screen screen) {
    using screens::The;
    platform::Form* const forms[] = {
        &The<screens::Form1>(), &The<screens::Form2>(), &The<screens::Form3>(),
        &The<screens::Form4>(), &The<screens::Form5>(), &The<screens::Form6>(),
        &The<screens::Form7>(), &The<screens::Form8>(), &The<screens::Form9>()};
    return *forms[int(screen)];
}

std::size_t IndexOf(const platform::Form& form, const std::string& name) {
    const auto& controls = form.Layout().controls;
    return std::size_t(std::find_if(controls.begin(), controls.end(),
                                    [&](const auto& control) { return control.name == name; }) -
                       controls.begin());
}

Program::Program(std::optional<FaultPlan> plan)
    : runtime_(std::make_unique<platform::Runtime>()), plan_(plan) {
    runtime_->SetFaultHook([this](Operation op, const std::string& where) -> std::optional<int> {
        if (struck) return ++afterFault_, std::nullopt;
        if (plan_ && (!plan_->kind || plan_->kind == op) && --plan_->countdown == 0)
            return struck = op, plan_->number;
        // A load is checked on the bare screen name, once, before it happens.
        if (op == Operation::Load) ++loads_[std::stoi(where.substr(4)) - 1];
        return std::nullopt;
    });
    runtime_->Dispatch(screens::StartUp);
    TheDriver().Settle();
}

std::vector<std::string> Program::Do(const Action& a) {
    Driver& driver = TheDriver();
    if (struck) return {}; // at start-up
    const std::string kind = a.act == Act::Toggle ? "Check" : "Command";
    if (a.act == Act::Toggle || a.act == Act::Click)
        driver.Press(a.screen, kind + std::to_string(a.control), a.input, a.at);
    if (a.act == Act::Type) driver.Type(a.screen, a.control, a.text, a.input);
    if (a.act == Act::Close) driver.Close(a.screen);
    if (struck) return {};
    model.Apply(a);
    return Compare();
}

std::vector<std::string> Program::Compare() {
    Driver& driver = TheDriver();
    std::vector<std::string> out;
    const auto same = [&out](const auto& seen, const auto& want, const std::string& what) {
        if (seen != want) out.push_back(what + " is " + Show(seen) + ", not " + Show(want));
    };
    same(runtime_->HasEnded(), model.ended, "ended");
    same(runtime_->HasEnded() ? runtime_->ExitStatus() : 0, model.exitStatus, "the exit status");
    same(driver.Reports().size(), std::size_t(0), "error reports");
    for (int i = 0; i < 9; ++i) {
        const Screen screen = ScreenAt(i);
        const std::string name = Name(screen);
        same(driver.Loaded(screen), model.loaded[i], name + " loaded");
        same(loads_[i], model.loads[i], name + "'s loads");
        if (!driver.Loaded(screen) || !model.loaded[i]) continue;
        same(driver.Shown(screen), model.visible[i], name + " visible");
        const auto check = [&](const std::string& control, const std::u16string& want) {
            same(driver.Text(screen, control), want, name + "." + control);
        };
        if (i < 2) {
            // Each row carries its own item, and its boxes hold its answers.
            for (int k = 1; k <= 16; ++k)
                check("Label" + std::to_string(k + 1), logic::ItemCaption(16 * i + k));
            for (int box = 1; box <= 32; ++box)
                same(driver.Ticked(screen, box), model.boxes[i][box - 1],
                     name + ".Check" + std::to_string(box));
        }
        // A paragraph keeps what it had when first seen, and all that was typed.
        for (int box = 1; i >= 4 && box <= 5; ++box) {
            const std::string control = "Text" + std::to_string(box);
            const std::u16string now = driver.Text(screen, control),
                                 &typed = model.typed[i][box - 1];
            auto& laid = laid_[i][box - 1];
            if (!laid && now.size() >= typed.size())
                laid = now.substr(0, now.size() - typed.size());
            same(now, laid.value_or(u"") + typed, name + "." + control);
        }
    }
    if (model.justLoaded && driver.Loaded(*model.justLoaded))
        same(driver.Focus(*model.justLoaded) == "Command1", true,
             Name(*model.justLoaded) + "'s focus");
    const logic::DiagnosisState& d = screens::Module1();
    const std::array<int, 8> state{d.typeA, d.typeB,     d.typeC,      d.typeD,
                                   d.typeE, d.roughness, d.irritation, d.hesitation};
    for (int f = 0; f < 8; ++f)
        same(state[f], f < 5 ? model.flags[f] : model.scores[f - 5],
             "diagnosis field " + std::to_string(f));
    return out;
}

std::vector<std::string> Program::CheckFailedEnd(int number) {
    std::vector<std::string> out;
    const auto expect = [&out](bool ok, const std::string& what) {
        ok ? void() : out.push_back(what);
    };
    const std::vector<std::u16string> reports = TheDriver().Reports();
    expect(reports.size() == 1, std::to_string(reports.size()) + " error reports");
    const std::u16string text = reports.empty() ? u"" : reports[0];
    expect(text.starts_with(u"tolvane ") &&
               Narrow(text).find(std::to_string(number)) != std::string::npos,
           "the report \"" + Narrow(text) + "\" does not give " + std::to_string(number));
    expect(runtime_->HasEnded() && runtime_->ExitStatus() != 0, "the program runs or left with 0");
    for (int i = 0; i < 9; ++i)
        expect(!TheDriver().Shown(ScreenAt(i)), Name(ScreenAt(i)) + " is left visible");
    bool ran = false;
    runtime_->Dispatch([&ran] { ran = true; });
    expect(!ran && afterFault_ == 0, "the program ran on after the error");
    return out;
}

WalkStats RunWalk(unsigned long long seed, long steps, bool faults) {
    // Latin, kana, kanji, full-width digits, beyond the basic plane, line breaks.
    static const std::u16string kTyping[] = {u"abc",        u"あいう", u"運転", u"１２３",
                                             u"\U0001F697", u"\n",     u" ",    u"．"};
    std::mt19937_64 random(seed);
    const auto below = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };
    const auto uniform = [&random] {
        return std::uniform_real_distribution<double>(0.0, 1.0)(random);
    };
    std::unique_ptr<Program> program;
    std::vector<std::string> recent;
    WalkStats stats;
    int number = 0, diagnosed = -1;
    long started = 0;
    double leaning = 0.5;
    for (long step = 1; step <= steps; ++step) {
        // A fault that has not struck in 300 steps gives way to another.
        if (!program || program->struck || program->model.ended ||
            (faults && step - started > 300)) {
            started = step;
            stats.diagnoses += program ? program->model.diagnoses : 0;
            stats.faults += program && program->struck;
            ++stats.programs;
            program.reset(); // one runtime at a time
            // 7: whatever operation comes. Captions, texts and values come by the
            // dozen, loads and focus a few times in a program's life.
            const int kind = below(8);
            constexpr int kOften[] = {3, 20, 20, 150, 150, 150, 2, 300};
            number = 1000 + below(29000);
            const FaultPlan plan{kind < 7 ? std::optional(Operation(kind)) : std::nullopt,
                                 1 + below(kOften[kind]), number};
            program = std::make_unique<Program>(faults ? std::optional(plan) : std::nullopt);
        }
        const Model& model = program->model;
        if (model.diagnoses != diagnosed)
            diagnosed = model.diagnoses, leaning = uniform(); // a new mood
        // Mostly answering, leaning to yes or to no, and moving on; now and
        // then spoiling an answer or typing; rarely leaving the program.
        std::vector<Action> choices = model.Choices();
        std::vector<double> weights;
        for (const Action& a : choices) {
            const auto& page = model.boxes[int(a.screen) % 2];
            const int first = (a.control - 1) & ~1;
            const double repair = 24 * (a.control % 2 ? leaning : 1 - leaning);
            const double click = int(a.screen) >= 2                    ? 8
                                 : a.control == 1                      ? 6
                                 : a.screen == Form2 && a.control == 3 ? 2
                                                                       : 0.04;
            weights.push_back(a.act == Act::Toggle
                                  ? page[first] + page[first + 1] == 1 ? 0.3 : repair
                              : a.act == Act::Click ? click
                              : a.act == Act::Close ? int(a.screen) < 2 ? 0.03 : 0.8
                                                    : 0.35);
        }
        Action a = choices[std::discrete_distribution<std::size_t>(weights.begin(),
                                                                   weights.end())(random)];
        const double how = uniform();
        a.at = 0.02 + 0.96 * uniform();
        a.input = how < 0.7 ? Input::Mouse : how < 0.85 ? Input::Space : Input::Enter;
        for (int pieces = a.act == Act::Type ? 1 + below(4) : 0; pieces > 0; --pieces) {
            // Keys at the disabled note land on whatever has the focus, where
            // a space or Return would press it.
            const std::u16string& piece = kTyping[below(std::size(kTyping))];
            if (int(a.screen) >= 4 || (piece != u" " && piece != u"\n")) a.text += piece;
            a.input = how < 0.4 ? Input::Enter : Input::Mouse;
        }
        recent.push_back(Describe(a));
        std::vector<std::string> problems = program->Do(a);
        if (program->struck) problems = program->CheckFailedEnd(number);
        if (problems.empty()) continue;
        stats.failure = "seed " + std::to_string(seed) + ", step " + std::to_string(step) + ":\n";
        for (std::size_t i = recent.size() > 12 ? recent.size() - 12 : 0; i < recent.size(); ++i)
            stats.failure += "  " + recent[i] + "\n";
        for (const std::string& line : problems)
            stats.failure += "  => " + line + "\n";
        break;
    }
    stats.diagnoses += program->model.diagnoses;
    return stats;
}

} // namespace tolvane::check
