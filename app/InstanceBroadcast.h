#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/InstanceRequest.h"

namespace lumipage {

class RunningCopies;
struct Settings;

// Requests this copy sends to the others.
namespace copy_requests {

// A path request (codes 0-255): the action, the page in the high 16 bits,
// the size mode (0 none, 1-3) in bits 4-7, and the path made absolute.
InstanceRequest pathRequest(uint32_t action, int page, const std::string& path, int sizeMode = 0);
// Request 256: the eight colour settings.
InstanceRequest colourRequest(const Settings& settings);
InstanceRequest integerRequest(uint32_t code, int32_t value);

// The sockets of the other copies whose main window has the program's title
// (previews included: their title continues with a blank).
std::vector<std::string> programCopies(const RunningCopies& copies, const std::string& ownSocket);

// Sends `request` to every other copy whose main window has the program's
// title; returns how many answered. Used after AutoScroll, CatchScroll or
// the view flags change (257, 258, 261). The receivers do not pass it on.
int broadcast(const RunningCopies& copies, const std::string& ownSocket, const InstanceRequest& request);

// Closes the copies showing previews (titled exactly as a preview), as the
// main window does when it is destroyed; returns how many were asked.
int closePreviews(const RunningCopies& copies, const std::string& ownSocket);

}  // namespace copy_requests
}  // namespace lumipage
