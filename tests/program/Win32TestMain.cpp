// Test main of the Windows build: the window classes are registered before
// the first test, as the program does before its first screen.
#include <gtest/gtest.h>

#include "Win32Window.h"

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    tolvane::platform::SetUpWin32();
    return RUN_ALL_TESTS();
}
