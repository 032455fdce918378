// Placeholder: the command interpreter is being written.
#include "console/commands.h"

#include "console/console.h"

namespace tam {

InterpreterState& Interp() {
    static InterpreterState state;
    return state;
}
void ResetInterpreter() { Interp() = InterpreterState{}; }

void ExecuteCommand(std::string_view) {
    if (Con().view) ConsoleRefresh();
}

int32_t StrToInt(std::string_view) { return 0; }
double StrToFloat(std::string_view) { return 0; }

}  // namespace tam
