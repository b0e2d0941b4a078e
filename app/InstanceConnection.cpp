#include "app/InstanceConnection.h"

#include "app/CLP98App.h"
#include "app/InstanceBroadcast.h"

namespace lumipage {

InstanceConnection::InstanceConnection(CLP98App& app, InstanceRequestFrame& frame, std::string folder, std::string socketName)
    : app_(app),
      handler_(app.document(), app.settings(), frame),
      server_(folder, std::move(socketName)),
      copies_(folder) {}

int InstanceConnection::broadcast(uint32_t code, int32_t value) {
    return copy_requests::broadcast(copies_, server_.socketPath(), copy_requests::integerRequest(code, value));
}

int InstanceConnection::broadcastColours() {
    return copy_requests::broadcast(copies_, server_.socketPath(), copy_requests::colourRequest(app_.settings()));
}

int InstanceConnection::setAutoScroll(int value) {
    Settings& s = app_.settings();
    if (s.autoScroll == value) return 0;
    s.autoScroll = value;
    return broadcast(InstanceRequestHandler::kAutoScroll, value);
}

int InstanceConnection::setCatchScroll(int value) {
    Settings& s = app_.settings();
    if (s.catchScroll == value) return 0;
    s.catchScroll = value;
    return broadcast(InstanceRequestHandler::kCatchScroll, value);
}

int InstanceConnection::setViewFlags(int flags) {
    Settings& s = app_.settings();
    if (s.viewFlags() == (flags & 3)) return 0;
    s.setViewFlags(flags);
    return broadcast(InstanceRequestHandler::kViewFlags, s.viewFlags());
}

int InstanceConnection::closePreviews() { return copy_requests::closePreviews(copies_, server_.socketPath()); }

}  // namespace lumipage
