#include "Screens.h"
#include "Runtime.h"

int main(int argc, char* argv[]) {
    return tolvane::platform::RunProgram(argc, argv, tolvane::screens::StartUp);
}
