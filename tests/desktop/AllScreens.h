#pragma once

#include <array>

#include "CheckErrorDialogs.h"
#include "Form1.h"
#include "Form2.h"
#include "ResultScreens.h"
#include "Screens.h"

namespace tolvane::test {

// Loads and shows all nine screens, Form1 first as at start-up, and returns
// them in order. Run it through the dispatch point.
inline std::array<platform::Form*, 9> ShowAllScreens() {
    using namespace screens;
    const std::array<platform::Form*, 9> all{&The<Form1>(), &The<Form2>(), &The<Form3>(),
                                             &The<Form4>(), &The<Form5>(), &The<Form6>(),
                                             &The<Form7>(), &The<Form8>(), &The<Form9>()};
    for (platform::Form* form : all)
        form->Show();
    return all;
}

} // namespace tolvane::test
