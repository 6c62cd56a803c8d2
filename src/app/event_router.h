#pragma once

#include "forms/form.h"
#include "app/program_state.h"
#include "runtime/ui.h"

// Every event a UI port delivers comes here: the window's description names
// the operation, the router calls its handler with the state it needs.
namespace zelvo {

// Runs the bound operation's handler. Unbound events, and every event after
// the program has ended, do nothing.
void routeEvent(ProgramState& state, UiPort& ui, const UiEvent& event);

}  // namespace zelvo
