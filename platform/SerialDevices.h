#pragma once
#include <functional>
#include <string>
#include <vector>

namespace lumipage {

// The serial devices a modem may be on, as the send dialog offers them:
// the stable names under /dev/serial/by-id first (a USB modem keeps its
// name there whatever order it was plugged in), then USB modems and
// adapters (ttyACM*, ttyUSB*) that no by-id name already stands for, then
// the built-in ports (ttyS*) that `isPort` accepts (most of those the
// kernel lists have no hardware behind them). `devFolder` is /dev but for tests.
std::vector<std::string> serialDeviceCandidates(const std::function<bool(const std::string&)>& isPort,
                                                const std::string& devFolder = "/dev");

}  // namespace lumipage
