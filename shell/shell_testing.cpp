// The program's test seams that span its modules; each module keeps its own seam beside the
// variables it resets.
#include "shell/shell_testing.h"

void StartupResetForTesting() {
    Menu::ForgetImplicitInstanceForTesting();
    FileTypes::ResetForTesting();
    PicturesForgetForTesting();
}
