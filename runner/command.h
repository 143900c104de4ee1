#pragma once

#include <ostream>
#include <string>
#include <vector>

// The whole of mira-run: `arguments` are those after the program name; the
// result goes to `out`, error texts and usage problems to `err`. Returns the
// exit status.
int RunCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
