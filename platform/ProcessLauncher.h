#pragma once
#include <string>
#include <vector>

namespace lumipage {

// Starts programs without waiting for them.
namespace process {

// Starts `program` with `args` (without the program name) detached from this
// process: it keeps running when this one ends and leaves no child to reap.
// False when it could not be started.
bool startDetached(const std::string& program, const std::vector<std::string>& args);

// This program's own executable.
std::string selfExecutable();

}  // namespace process
}  // namespace lumipage
