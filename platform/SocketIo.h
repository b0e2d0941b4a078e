#pragma once
#include <cstdint>
#include <span>

namespace lumipage::socket_io {

// Blocking-style transfers on a non-blocking socket, each wait bounded by
// `timeoutMs` (negative: no bound). False on error, end of stream or time-out.
bool readExactly(int fd, std::span<uint8_t> out, int timeoutMs);
bool writeAll(int fd, std::span<const uint8_t> data, int timeoutMs);

// Closes a descriptor when it goes out of scope.
class FdGuard {
public:
    explicit FdGuard(int fd = -1) : fd_(fd) {}
    ~FdGuard();
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

}  // namespace lumipage::socket_io
