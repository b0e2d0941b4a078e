#include "app/CopyConnection.h"

#include "app/CLP98App.h"
#include "app/CopyBroadcast.h"

namespace lumipage {

CopyConnection::CopyConnection(CLP98App& app, CopyRequestFrame& frame, std::string folder, std::string socketName)
    : app_(app),
      handler_(app.document(), app.settings(), frame),
      server_(folder, std::move(socketName)),
      copies_(folder) {}

int CopyConnection::broadcast(uint32_t code, int32_t value) {
    return copy_requests::broadcast(copies_, server_.socketPath(), copy_requests::integerRequest(code, value));
}

int CopyConnection::broadcastColours() {
    return copy_requests::broadcast(copies_, server_.socketPath(), copy_requests::colourRequest(app_.settings()));
}

int CopyConnection::setAutoScroll(int value) {
    Settings& s = app_.settings();
    if (s.autoScroll == value) return 0;
    s.autoScroll = value;
    return broadcast(CopyRequestHandler::kAutoScroll, value);
}

int CopyConnection::setCatchScroll(int value) {
    Settings& s = app_.settings();
    if (s.catchScroll == value) return 0;
    s.catchScroll = value;
    return broadcast(CopyRequestHandler::kCatchScroll, value);
}

int CopyConnection::setViewFlags(int flags) {
    Settings& s = app_.settings();
    if (s.viewFlags() == (flags & 3)) return 0;
    s.setViewFlags(flags);
    return broadcast(CopyRequestHandler::kViewFlags, s.viewFlags());
}

int CopyConnection::closePreviews() { return copy_requests::closePreviews(copies_, server_.socketPath()); }

}  // namespace lumipage
