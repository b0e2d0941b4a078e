#pragma once
#include <string>
#include <vector>

#include "base/StartupRequest.h"

namespace lumipage {

struct Settings;

// The settings store the arguments choose: "-USEINI" anywhere (even inside
// another argument) selects the INI file, and wins over "-USEREG".
StartupRequest::Store storeOf(const std::vector<std::string>& args);

// Parses the arguments (without the program name), writing the switches that
// set settings straight into `settings`.
StartupRequest parseCommandLine(const std::vector<std::string>& args, Settings& settings);

// The "#" number, which numbers the files a conversion writes under a given
// name; 1 when it is not given or is not a number.
int conversionFirstNumber(const StartupRequest& request);

}  // namespace lumipage
