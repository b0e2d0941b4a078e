#pragma once
#include <string>

#include "app/InstanceRequestHandler.h"
#include "platform/InstanceRequestServer.h"
#include "platform/RunningCopies.h"

namespace lumipage {

class CLP98App;

// This copy's link to the other running copies: it answers their requests
// (the window's event loop watches fd() and calls handlePending()) and tells
// them when the scrolling settings or the view flags change here.
class InstanceConnection {
public:
    InstanceConnection(CLP98App& app, InstanceRequestFrame& frame, std::string folder = RunningCopies::defaultFolder(),
                   std::string socketName = {});

    // False when no socket could be made; the program then runs on alone.
    bool listen() { return server_.listen(); }
    int fd() const { return server_.fd(); }
    int handlePending() { return server_.handlePending(handler_); }

    // Change the setting and, when it really changed, send the new value to
    // the other copies (requests 257, 258, 261). Return how many took it.
    int setAutoScroll(int value);
    int setCatchScroll(int value);
    int setViewFlags(int flags);
    // Closes the preview copies when the main window goes.
    int closePreviews();
    // Sends a setting that already changed here (257, 258, 261) to the other copies.
    int broadcast(uint32_t code, int32_t value);
    // Sends this copy's eight colour settings to the other copies (256).
    int broadcastColours();

private:

    CLP98App& app_;
    InstanceRequestHandler handler_;
    InstanceRequestServer server_;
    RunningCopies copies_;
};

}  // namespace lumipage
