#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace lumipage {

// What answers the requests of other copies: the main frame's handler.
class InstanceRequestListener {
public:
    virtual ~InstanceRequestListener() = default;
    virtual int32_t handleRequest(int32_t code, std::span<const uint8_t> data) = 0;
    // The main window's title, as other copies look for it.
    virtual std::string windowTitle() = 0;
    // Another copy asks this one to close its main window.
    virtual void closeWindow() {}
};

// The listening end of the requests between running copies: a Unix-domain
// socket in the copies' folder. The window's event loop watches fd() and
// calls handlePending() when it becomes readable; nothing here blocks on a
// sender for longer than a short time-out.
class InstanceRequestServer {
public:
    static constexpr int kPeerTimeoutMs = 1000;
    // Connections answered per call at most, so the window stays responsive;
    // the socket stays readable and the rest come with the next call.
    static constexpr int kMaxPerCall = 16;

    // The socket is named `name` in `folder`; by default after this process.
    explicit InstanceRequestServer(std::string folder, std::string name = {});
    ~InstanceRequestServer();
    InstanceRequestServer(const InstanceRequestServer&) = delete;
    InstanceRequestServer& operator=(const InstanceRequestServer&) = delete;

    // Creates the socket; false when the folder or the socket cannot be made.
    bool listen();
    int fd() const { return fd_; }
    const std::string& socketPath() const { return path_; }

    // Accepts every waiting connection and answers its request; returns how
    // many were answered. The server must outlive the call. Calls made while a request is being handled (a
    // handler that shows a dialog runs the event loop) return 0 at once; the
    // waiting senders are served on the next call.
    int handlePending(InstanceRequestListener& listener);

private:
    bool serve(int connection, InstanceRequestListener& listener);

    std::string folder_;
    std::string path_;
    int fd_ = -1;
    bool busy_ = false;
};

}  // namespace lumipage
