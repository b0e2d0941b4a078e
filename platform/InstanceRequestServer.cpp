#include "platform/InstanceRequestServer.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/InstanceRequest.h"
#include "platform/RunningCopies.h"
#include "platform/SocketIo.h"

namespace lumipage {

namespace {

constexpr int kBacklog = 16;

class BusyFlag {
public:
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }

private:
    bool& flag_;
};

}  // namespace

InstanceRequestServer::InstanceRequestServer(std::string folder, std::string name) : folder_(std::move(folder)) {
    if (name.empty()) name = std::to_string(::getpid()) + std::string(RunningCopies::kSocketSuffix);
    path_ = folder_ + "/" + name;
}

InstanceRequestServer::~InstanceRequestServer() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(path_.c_str());
}

bool InstanceRequestServer::listen() {
    if (fd_ >= 0) return true;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path_.size() >= sizeof address.sun_path || !RunningCopies::prepareFolder(folder_)) return false;
    std::memcpy(address.sun_path, path_.c_str(), path_.size() + 1);
    socket_io::FdGuard fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) return false;
    // A socket left by an earlier process of the same id is stale.
    ::unlink(path_.c_str());
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return false;
    if (::listen(fd.get(), kBacklog) != 0) {
        ::unlink(path_.c_str());
        return false;
    }
    fd_ = fd.release();
    return true;
}

int InstanceRequestServer::handlePending(InstanceRequestListener& listener) {
    if (fd_ < 0 || busy_) return 0;
    BusyFlag busy(busy_);
    int answered = 0;
    for (int accepted = 0; accepted < kMaxPerCall; ++accepted) {
        socket_io::FdGuard connection(::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (connection.get() < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return answered;  // nothing more waiting (or the socket failed)
        }
        if (serve(connection.get(), listener)) ++answered;
    }
    return answered;
}

bool InstanceRequestServer::serve(int connection, InstanceRequestListener& listener) {
    std::array<uint8_t, InstanceRequest::kHeaderBytes> head{};
    if (!socket_io::readExactly(connection, head, kPeerTimeoutMs)) return false;
    const InstanceRequestHeader header = decodeRequestHeader(head);
    if (header.size > InstanceRequest::kMaxDataBytes) {
        socket_io::writeAll(connection, encodeInt32(0), kPeerTimeoutMs);
        return false;
    }
    std::vector<uint8_t> data(header.size);
    if (!socket_io::readExactly(connection, data, kPeerTimeoutMs)) return false;
    if (header.code == InstanceRequest::kTitleQuery) {
        std::string title = listener.windowTitle();
        if (title.size() > InstanceRequest::kMaxTitleBytes) title.resize(InstanceRequest::kMaxTitleBytes);
        const auto count = encodeInt32(int32_t(title.size()));
        return socket_io::writeAll(connection, count, kPeerTimeoutMs) &&
               socket_io::writeAll(connection,
                                   std::span(reinterpret_cast<const uint8_t*>(title.data()), title.size()),
                                   kPeerTimeoutMs);
    }
    if (header.code == InstanceRequest::kCloseWindow) {
        listener.closeWindow();
        return socket_io::writeAll(connection, encodeInt32(1), kPeerTimeoutMs);
    }
    const int32_t result = listener.handleRequest(header.code, data);
    return socket_io::writeAll(connection, encodeInt32(result), kPeerTimeoutMs);
}

}  // namespace lumipage
