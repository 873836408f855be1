#include "Diagnosis.h"

#include <array>
#include <span>

#include "ItemCatalogue.h"

namespace tolvane::logic {
namespace {

// Items of each scale. Item 22 counts on two scales; items 1, 10, 16, 26, 27
// and 32 are on none and only take part in the page check.
constexpr std::array kRoughnessItems{2, 3, 4, 5, 17, 18, 19, 20, 21, 22};
constexpr std::array kIrritationItems{6, 7, 8, 9, 22, 23, 24, 25};
constexpr std::array kHesitationItems{11, 12, 13, 14, 15, 28, 29, 30, 31};

std::span<const int> ItemsOf(Scale scale) {
    switch (scale) {
    case Scale::Roughness: return kRoughnessItems;
    case Scale::Irritation: return kIrritationItems;
    case Scale::Hesitation: return kHesitationItems;
    }
    return {};
}

// Adds the scale's yes answers into `sum` one at a time, so that the field
// holds the running sum should a read or an addition fail half-way.
void AddScale(AnswerSheet& sheet, Scale scale, Int16& sum) {
    for (const int item : ItemsOf(scale)) {
        const Int16 yes = sheet.BoxValue(PageOfItem(item), YesBox(PositionOfItem(item)));
        sum = CheckedAdd(sum, yes, "scale score");
    }
}

bool InBand(Int16 score, Int16 low, Int16 high) { return low <= score && score <= high; }

void ScoreAllScales(AnswerSheet& sheet, DiagnosisState& state) {
    state.roughness = 0;
    AddScale(sheet, Scale::Roughness, state.roughness);
    state.irritation = 0;
    AddScale(sheet, Scale::Irritation, state.irritation);
    state.hesitation = 0;
    AddScale(sheet, Scale::Hesitation, state.hesitation);
}

} // namespace

Int16 DiagnosisState::Flag(ResultType type) const {
    switch (type) {
    case ResultType::A: return typeA;
    case ResultType::B: return typeB;
    case ResultType::C: return typeC;
    case ResultType::D: return typeD;
    case ResultType::E: return typeE;
    }
    return 0;
}

Int16 ScaleScore(AnswerSheet& sheet, Scale scale) {
    Int16 sum = 0;
    AddScale(sheet, scale, sum);
    return sum;
}

void Diagnose(AnswerSheet& sheet, DiagnosisState& state) {
    state.typeA = state.typeB = state.typeC = state.typeD = state.typeE = 0;
    ScoreAllScales(sheet, state);

    if (InBand(state.roughness, 3, 10)) state.typeA = 1;
    if (InBand(state.irritation, 5, 8)) state.typeB = 1;
    if (InBand(state.hesitation, 3, 9)) state.typeC = 1;
    if (state.hesitation == 0) state.typeD = 1;
    if (state.typeA != 1 && state.typeB != 1 && state.typeC != 1 && state.typeD != 1) {
        state.typeE = 1;
    }
}

std::optional<ResultType> NextFlaggedType(const DiagnosisState& state,
                                          std::optional<ResultType> after) {
    const int first = after ? static_cast<int>(*after) + 1 : 0;
    for (int t = first; t < kResultTypeCount; ++t) {
        const auto type = static_cast<ResultType>(t);
        if (state.Flag(type) == 1) return type;
    }
    return std::nullopt;
}

void ReadOutScores(AnswerSheet& sheet, DiagnosisState& state) { ScoreAllScales(sheet, state); }

} // namespace tolvane::logic
