#include "app/InstanceBroadcast.h"

#include "app/InstanceRequestHandler.h"
#include "app/ProgramTitle.h"
#include "base/Settings.h"
#include "platform/RunningCopies.h"

namespace lumipage::copy_requests {

namespace {

void appendInt32(std::vector<uint8_t>& out, int32_t value) {
    const auto bytes = encodeInt32(value);
    out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace

InstanceRequest pathRequest(uint32_t action, int page, const std::string& path, int sizeMode) {
    const uint32_t code = (uint32_t(page) & 0xFFFF) << 16 | (uint32_t(sizeMode) & 0x0F) << 4 | (action & 0x0F);
    return InstanceRequest{int32_t(code), path.empty() ? std::vector<uint8_t>{} : pathRequestData(path)};
}

InstanceRequest colourRequest(const Settings& s) {
    InstanceRequest request{int32_t(InstanceRequestHandler::kColours), {}};
    for (const int v : {s.paperColor, s.paperColorMode, s.bright, s.contrast, s.inkColor, s.inkColorMode,
                        s.adjustGamma, s.fastUpdate})
        appendInt32(request.data, v);
    return request;
}

InstanceRequest integerRequest(uint32_t code, int32_t value) {
    InstanceRequest request{int32_t(code), {}};
    appendInt32(request.data, value);
    return request;
}

std::vector<std::string> programCopies(const RunningCopies& copies, const std::string& ownSocket) {
    std::vector<std::string> found;
    for (const std::string& socket : copies.sockets(ownSocket))
        if (const auto title = RunningCopies::title(socket); title && isProgramTitle(*title)) found.push_back(socket);
    return found;
}

int broadcast(const RunningCopies& copies, const std::string& ownSocket, const InstanceRequest& request) {
    int answered = 0;
    for (const std::string& socket : programCopies(copies, ownSocket))
        if (RunningCopies::send(socket, request, RunningCopies::kQueryTimeoutMs)) ++answered;
    return answered;
}

int closePreviews(const RunningCopies& copies, const std::string& ownSocket) {
    int asked = 0;
    for (const std::string& socket : copies.sockets(ownSocket)) {
        if (RunningCopies::title(socket) != kPreviewTitle) continue;
        if (RunningCopies::send(socket, InstanceRequest{InstanceRequest::kCloseWindow, {}}, RunningCopies::kQueryTimeoutMs))
            ++asked;
    }
    return asked;
}

}  // namespace lumipage::copy_requests
