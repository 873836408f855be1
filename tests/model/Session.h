#pragma once

#include <gtest/gtest.h>

#include <bitset>
#include <string>

#include "Driver.h"
#include "Model.h"

namespace tolvane::model {

// A scripted user: acts on the real program and on the model together and
// fails the test at the first divergence. Stops acting once an injected
// fault has struck or the program has ended.
class Session {
public:
    explicit Session(std::optional<Driver::FaultPlan> plan = std::nullopt) { driver_.Start(plan); }

    Driver& driver() { return driver_; }
    const Model& model() const { return model_; }
    bool Stopped() const { return driver_.Fired().has_value() || model_.Ended() || diverged_; }

    // Performs one action; with `compare` off the comparison waits for the
    // next action that has it on.
    void Do(const Action& action, bool compare = true) { Do(action, action, compare); }

    // Performs `performed` on the program, and `expected` on the model: for
    // input that the program is meant to take in part only.
    void Do(const Action& performed, const Action& expected, bool compare = true) {
        if (Stopped()) return;
        driver_.Perform(performed);
        if (driver_.Fired()) return;
        model_.Apply(expected);
        const Action& action = performed;
        if (!compare) return;
        const auto problems = driver_.Compare(model_);
        if (problems.empty()) return;
        diverged_ = true;
        std::string all;
        for (const auto& problem : problems)
            all += "\n  " + problem;
        ADD_FAILURE() << "after " << action.Describe() << ":" << all;
    }

    void Click(Screen screen, int command = 1) { Do({ActionKind::Click, screen, command}); }

    // Sets the items of `page` to the answers in `yes` (bit k-1 for item
    // position k), ticking and unticking only the boxes that must change.
    void Answer(int page, std::bitset<16> yes) {
        const Screen screen = page == 1 ? Screen::Form1 : Screen::Form2;
        for (int k = 1; k <= 16; ++k) {
            const int want[2] = {yes[k - 1] ? 1 : 0, yes[k - 1] ? 0 : 1};
            for (int side = 0; side < 2; ++side) {
                const int box = 2 * k - 1 + side;
                if (model_.Box(page, box) != want[side]) {
                    Do({ActionKind::Toggle, screen, box, side ? Input::Space : Input::Mouse},
                       false);
                }
            }
        }
    }

    // Answers both pages, goes forward and diagnoses, then steps through
    // the result chain back to page 1.
    void Round(std::bitset<32> yes) {
        if (model_.State(Screen::Form2).visible) Click(Screen::Form2, 3);
        Answer(1, std::bitset<16>(yes.to_ulong() & 0xFFFF));
        Click(Screen::Form1);
        Answer(2, std::bitset<16>(yes.to_ulong() >> 16));
        Click(Screen::Form2);
        for (int guard = 0; guard < 5 && !Stopped(); ++guard) {
            const Screen* shown = nullptr;
            for (const Screen& screen : kAllScreens) {
                if (IsResult(screen) && model_.State(screen).visible) shown = &screen;
            }
            if (!shown) break;
            Click(*shown);
        }
    }

private:
    Driver driver_;
    Model model_;
    bool diverged_ = false;
};

} // namespace tolvane::model
