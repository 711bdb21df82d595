// The framework's report of an exception nobody handled: a message box naming the
// exception's class and message, then the end of the program with a failing status.
#include <string>

#include "framework/toolkit/application.h"
#include "framework/toolkit/application_impl.h"
#include "framework/toolkit/application_internal.h"
#include "framework/toolkit/dialogs.h"

void ToolkitReportUnhandledException(Object* exception) {
    const ExceptionText said = RuntimeExceptionText(exception);
    const int status = RuntimeExit();
    RuntimeSetExitStatus(status == 0 ? 1 : status);

    std::string text = "An exception of class " + said.className +
                       " was not handled. The application must shut down.";
    if (!said.message.empty()) text += "\n\n" + said.message;
    bool shown = false;
    try {
        if (RuntimeIsMainThread()) {
            ToolkitEnsureApplication();  // raises where no display can be reached
            RuntimeMsgBox(String(text));
            shown = true;
        }
    } catch (const RaisedException&) {
        // A report that cannot be shown still ends the program; standard error says why, in
        // one line after the program's name, as command-line programs do.
    }
    if (!shown) RuntimeReportToStandardError(exception);
    ToolkitEndEventLoop();
}
