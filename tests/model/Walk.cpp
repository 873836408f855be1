#include "Walk.h"

#include <deque>
#include <numeric>
#include <random>
#include <sstream>

#include "Driver.h"

namespace tolvane::model {
namespace {

using platform::Operation;

// Pieces a user might type: Latin, kana and kanji, full-width digits, a
// character outside the basic plane, and line breaks.
const std::u16string kTypingPool[] = {u"abc",      u"Z",      u"あいう",     u"運転",
                                      u"カタカナ", u"１２３", u"\U0001F697", u"\n",
                                      u" ",        u"．",     u"!?"};

class Walker {
public:
    explicit Walker(const WalkOptions& options) : options_(options), random_(options.seed) {}

    WalkStats Run() {
        StartProgram();
        for (long step = 0; step < options_.steps; ++step) {
            stats_.steps = step + 1;
            if (!Step(step)) break;
        }
        stats_.diagnoses += model_.Diagnoses();
        return stats_;
    }

private:
    double Uniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void StartProgram() {
        stats_.diagnoses += model_.Diagnoses();
        model_ = Model();
        driver_.Start();
        ++stats_.programs;
    }

    // How likely a user is to take each choice: mostly answering and moving
    // on, now and then spoiling an answer, rarely leaving the program.
    double Weight(const Action& action) const {
        switch (action.kind) {
        case ActionKind::Toggle: {
            const int page = Index(action.screen) + 1;
            const int first = action.control % 2 == 1 ? action.control : action.control - 1;
            const bool repairs = model_.Box(page, first) + model_.Box(page, first + 1) != 1;
            return repairs ? 12.0 : 0.3;
        }
        case ActionKind::Click:
            if (IsPage(action.screen)) {
                if (action.control == 1) return 6.0;
                if (action.screen == Screen::Form2 && action.control == 3) return 2.0;
                return 0.08; // cancel or exit
            }
            return IsDialog(action.screen) ? 5.0 : 10.0;
        case ActionKind::Type: return 0.4;
        case ActionKind::Close: return IsPage(action.screen) ? 0.05 : 0.8;
        }
        return 0.0;
    }

    Action Choose() {
        std::vector<Action> choices = model_.Choices();
        std::vector<double> weights;
        for (const Action& choice : choices)
            weights.push_back(Weight(choice));
        std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
        Action action = choices[pick(random_)];
        const double how = Uniform();
        switch (action.kind) {
        case ActionKind::Toggle: action.input = how < 0.75 ? Input::Mouse : Input::Space; break;
        case ActionKind::Click:
            action.input = how < 0.7 ? Input::Mouse : how < 0.85 ? Input::Space : Input::Enter;
            break;
        case ActionKind::Type: {
            const int pieces = 1 + Below(4);
            for (int i = 0; i < pieces; ++i) {
                const std::u16string& piece = kTypingPool[Below(std::size(kTypingPool))];
                // Keys typed at the disabled source note land on whatever has the
                // focus; a space or Return there would press a box or button.
                if (IsPage(action.screen) && (piece == u" " || piece == u"\n")) continue;
                action.text += piece;
            }
            action.input = how < 0.25 ? Input::Enter : how < 0.4 ? Input::Paste : Input::Mouse;
            stats_.typedUnits += long(action.text.size());
            break;
        }
        case ActionKind::Close: break;
        }
        return action;
    }

    void MaybeArmFault(long step) {
        // A fault whose operation no longer comes (every screen loaded, say)
        // gives way to a new one.
        if (driver_.Armed() && step - armedAt_ > 60) {
            driver_.Disarm();
            ++stats_.faultsUnreached;
        }
        if (options_.faultEvery <= 0 || driver_.Armed() || Below(options_.faultEvery) != 0) return;
        armedAt_ = step;
        const int kind = Below(8); // 7 means: whatever operation comes
        const std::optional<Operation> operation =
            kind < 7 ? std::optional(static_cast<Operation>(kind)) : std::nullopt;
        // Captions, texts and values come by the dozen, the others a few at a time.
        const bool frequent =
            !operation || *operation == Operation::Caption || *operation == Operation::Value;
        faultNumber_ = 1000 + Below(29000);
        driver_.ArmFault({operation, 1 + Below(frequent ? 80 : 4), faultNumber_});
        ++stats_.faultsArmed;
    }

    bool Fail(long step, const std::vector<std::string>& divergences) {
        std::ostringstream out;
        out << "seed " << options_.seed << " diverged at step " << step + 1
            << " (replay: TOLVANE_WALK_SEED=" << options_.seed << " TOLVANE_WALK_STEPS=" << step + 1
            << ")\nlast actions:\n";
        for (const std::string& line : recent_)
            out << "  " << line << "\n";
        out << "divergences:\n";
        for (const std::string& line : divergences)
            out << "  " << line << "\n";
        stats_.failure = out.str();
        return false;
    }

    bool Step(long step) {
        MaybeArmFault(step);
        const Action action = Choose();
        recent_.push_back(action.Describe());
        if (recent_.size() > 16) recent_.pop_front();
        driver_.Perform(action);

        if (const auto& fault = driver_.Fired()) {
            recent_.push_back(std::string("fault: ") + OperationName(fault->operation) + " at " +
                              fault->where);
            const auto problems = driver_.CheckFailedEnd(faultNumber_);
            if (!problems.empty()) return Fail(step, problems);
            ++stats_.faultsFired[int(fault->operation)];
            StartProgram();
            return true;
        }
        model_.Apply(action);
        if (const auto problems = driver_.Compare(model_); !problems.empty()) {
            return Fail(step, problems);
        }
        if (model_.Ended()) {
            if (driver_.Armed()) ++stats_.faultsUnreached;
            StartProgram();
        }
        return true;
    }

    WalkOptions options_;
    std::mt19937_64 random_;
    Model model_;
    Driver driver_;
    WalkStats stats_;
    std::deque<std::string> recent_;
    int faultNumber_ = 0;
    long armedAt_ = 0;
};

} // namespace

long WalkStats::FaultsFired() const {
    return std::accumulate(faultsFired.begin(), faultsFired.end(), 0L);
}

WalkStats& WalkStats::operator+=(const WalkStats& other) {
    steps += other.steps;
    programs += other.programs;
    diagnoses += other.diagnoses;
    typedUnits += other.typedUnits;
    faultsArmed += other.faultsArmed;
    faultsUnreached += other.faultsUnreached;
    for (std::size_t i = 0; i < faultsFired.size(); ++i)
        faultsFired[i] += other.faultsFired[i];
    if (failure.empty()) failure = other.failure;
    return *this;
}

WalkStats RunWalk(const WalkOptions& options) { return Walker(options).Run(); }

} // namespace tolvane::model
