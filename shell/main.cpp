// The process entry of corvane-conversion.
#include <cstdio>
#include <string>

#include "framework/toolkit/toolkit.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    // Without a display there is nothing to show: say so in one line and stop cleanly.
    std::string why;
    if (!ToolkitDisplayAvailable(&why)) {
        std::fprintf(stderr, "corvane-conversion: %s\n", why.c_str());
        return 2;
    }
    return RunProgram(argc, argv);
}
