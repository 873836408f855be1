#pragma once

#include "Diagnosis.h"
#include "Runtime.h"

namespace tolvane::screens {

// The process-wide instance of a screen: the first use creates it, and it is
// kept until the program ends.
template <class Screen>
Screen& The() {
    return platform::Runtime::Current().Global<Screen>();
}

// The diagnosis state: five type flags and three scale scores.
inline logic::DiagnosisState& Module1() { return The<logic::DiagnosisState>(); }

// The answers as they stand in the check boxes of the two question pages.
logic::AnswerSheet& Answers();

// The screen of a result type.
platform::Form& ResultScreenOf(logic::ResultType type);

// Loads Form1, which fills itself in, and shows it; or where the platform
// kept the last run of this program in its place (a browser tab), takes that
// run up again as it was.
void StartUp();

// The diagnosis state, kept beside the screens where the platform keeps them.
void KeepDiagnosis();

} // namespace tolvane::screens
