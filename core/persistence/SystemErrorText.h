#pragma once
#include <string>

namespace deskpanel {

// The system's own words for the error a file or socket call left: on Windows a Win32
// error code (GetLastError, as AtomicFileWriter::errorNumber() holds it) through
// FormatMessageW, in the user's language; elsewhere an errno value through strerror.
// One line, without the line break and full stop Windows puts at the end.
std::string systemErrorText(int error);

} // namespace deskpanel
