// The process entry of corvane-conversion: the arguments go to the runtime as they came.
#include "shell/startup.h"

int main(int argc, char** argv) {
    return RunProgram(argc, argv);
}
