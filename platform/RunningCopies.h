#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/InstanceRequest.h"

namespace lumipage {

// The other running copies of the program, found by their sockets in one
// folder private to the user, and the sending end of their requests.
class RunningCopies {
public:
    static constexpr std::string_view kSocketSuffix = ".sock";
    static constexpr int kQueryTimeoutMs = 2000;
    static constexpr int kNoTimeout = -1;

    // $XDG_RUNTIME_DIR/lumipage, else /tmp/lumipage-<uid>.
    static std::string defaultFolder();
    // Creates the folder with mode 0700 when missing; false when it is not a
    // real folder owned by this user and closed to everyone else (a folder
    // under /tmp may have been made by someone else first).
    static bool prepareFolder(const std::string& folder);

    explicit RunningCopies(std::string folder) : folder_(std::move(folder)) {}
    const std::string& folder() const { return folder_; }

    // The sockets of the copies, sorted, without `own`.
    std::vector<std::string> sockets(const std::string& own = {}) const;

    // Sends a request and waits for the answer (a negative time-out waits as
    // long as the other copy takes, as a window message would). Nothing when
    // the copy cannot be reached; a socket nobody listens on any more is removed.
    static std::optional<int32_t> send(const std::string& socket, const InstanceRequest& request,
                                       int timeoutMs = kNoTimeout);
    static std::optional<std::string> title(const std::string& socket, int timeoutMs = kQueryTimeoutMs);

private:
    std::string folder_;
};

}  // namespace lumipage
