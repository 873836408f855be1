#pragma once

#include <array>
#include <cstdint>
#include <string>

// A seeded random walk through the program: at every step one thing a user
// could do on what is visible, applied to the real screens and to the model,
// which are then compared. An ended program is replaced by a fresh one.
namespace tolvane::model {

struct WalkOptions {
    std::uint64_t seed = 1;
    long steps = 500;
    // On average one armed fault per this many steps; 0 for none.
    int faultEvery = 0;
};

struct WalkStats {
    long steps = 0;
    long programs = 0;
    long diagnoses = 0;
    long typedUnits = 0;
    long faultsArmed = 0;
    long faultsUnreached = 0; // the armed operation did not come in time
    std::array<long, 7> faultsFired{};
    // Empty when the program always matched the model; else the first
    // divergence with the seed and the steps that led to it.
    std::string failure;

    long FaultsFired() const;
    WalkStats& operator+=(const WalkStats& other);
};

WalkStats RunWalk(const WalkOptions& options);

} // namespace tolvane::model
