#pragma once
#include <string>
#include <vector>

namespace deskpanel {

// Starts helper programs that the application neither waits for nor depends on: each
// runs detached, its input and output go nowhere, and a program that is missing or
// fails changes nothing. Every command is the program followed by its arguments.
void startQuietly(const std::vector<std::vector<std::string>>& commands);

} // namespace deskpanel
