#pragma once

#include <optional>

#include "AnswerSheet.h"

namespace tolvane::logic {

enum class Scale { Roughness, Irritation, Hesitation };

// Result types in the order their screens are shown.
enum class ResultType { A, B, C, D, E };
inline constexpr int kResultTypeCount = 5;

// Flags hold 0 or 1; scores are the sums of the yes answers on each scale.
// Zero when the program starts; rebuilt by every diagnosis.
struct DiagnosisState {
    Int16 typeA = 0; // rough driving
    Int16 typeB = 0; // irritation
    Int16 typeC = 0; // hesitation in judgement
    Int16 typeD = 0; // over-confidence
    Int16 typeE = 0; // calm, balanced driver
    Int16 roughness = 0;
    Int16 irritation = 0;
    Int16 hesitation = 0;

    Int16 Flag(ResultType type) const;
    bool operator==(const DiagnosisState&) const = default;
};

// Sum of the yes-box values of the scale's items, page 1 first, ascending.
Int16 ScaleScore(AnswerSheet& sheet, Scale scale);

// Scores both pages and sets the five flags. Makes no check of its own: the
// caller has made sure that the pages are answered.
void Diagnose(AnswerSheet& sheet, DiagnosisState& state);

// The first flagged type after `after` (from the start when none), or none.
std::optional<ResultType> NextFlaggedType(const DiagnosisState& state,
                                          std::optional<ResultType> after);

// Recomputes the three scores from the current answers, leaving the flags as
// the last diagnosis set them.
void ReadOutScores(AnswerSheet& sheet, DiagnosisState& state);

} // namespace tolvane::logic
