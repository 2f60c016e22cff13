#pragma once

namespace deskpanel {

// The Windows program is a windowed one and starts without a console, so what --help,
// --version and --export-sheet print would go nowhere. This joins the console of the
// command prompt it was typed in, for output that has no place of its own yet (a pipe or
// a file the caller gave is kept). Only for those answers: a program joined to a console
// ends when the console window is closed. Does nothing elsewhere.
void useParentConsole();

} // namespace deskpanel
