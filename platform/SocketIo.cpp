#include "platform/SocketIo.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace lumipage::socket_io {

namespace {

bool waitFor(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    while (true) {
        const int n = ::poll(&p, 1, timeoutMs);
        if (n > 0) return true;
        if (n == 0 || errno != EINTR) return false;
    }
}

}  // namespace

FdGuard::~FdGuard() {
    if (fd_ >= 0) ::close(fd_);
}

bool readExactly(int fd, std::span<uint8_t> out, int timeoutMs) {
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::recv(fd, out.data() + done, out.size() - done, 0);
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        if (n == 0) return false;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (!waitFor(fd, POLLIN, timeoutMs)) return false;
    }
    return true;
}

bool writeAll(int fd, std::span<const uint8_t> data, int timeoutMs) {
    size_t done = 0;
    while (done < data.size()) {
        // MSG_NOSIGNAL: a peer that went away is an error here, not a SIGPIPE.
        const ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n >= 0) {
            done += size_t(n);
            continue;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (!waitFor(fd, POLLOUT, timeoutMs)) return false;
    }
    return true;
}

}  // namespace lumipage::socket_io
