#include "Runtime.h"
#include "Screens.h"

int main(int argc, char* argv[]) {
    return tolvane::platform::RunProgram(argc, argv, tolvane::screens::StartUp);
}
