#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace lumipage {

File::~File() { close(); }

File::File(File&& other) noexcept : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

bool File::open(const std::string& path, Mode mode) {
    close();
    int flags = O_CLOEXEC;
    switch (mode) {
        case Mode::Read: flags |= O_RDONLY; break;
        case Mode::ReadWrite: flags |= O_RDWR; break;
        case Mode::Create: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    do fd_ = ::open(path.c_str(), flags, 0666);
    while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) return false;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
        close();
        return false;
    }
    path_ = path;
    return true;
}

void File::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

int64_t File::size() const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
    return st.st_size;
}

int64_t File::readUpTo(int64_t offset, std::span<uint8_t> data) const {
    if (fd_ < 0 || offset < 0) return -1;
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pread(fd_, data.data() + done, data.size() - done, off_t(offset + int64_t(done)));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += size_t(n);
    }
    return int64_t(done);
}

bool File::readAt(int64_t offset, std::span<uint8_t> data) const {
    return readUpTo(offset, data) == int64_t(data.size());
}

bool File::writeAt(int64_t offset, std::span<const uint8_t> data) {
    if (fd_ < 0 || offset < 0) return false;
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done, off_t(offset + int64_t(done)));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

bool File::append(std::span<const uint8_t> data) {
    const int64_t end = size();
    return end >= 0 && writeAt(end, data);
}

bool File::sync() { return fd_ >= 0 && ::fsync(fd_) == 0; }

bool File::readAll(const std::string& path, std::vector<uint8_t>& out) {
    File f;
    if (!f.open(path, Mode::Read)) return false;
    const int64_t n = f.size();
    if (n < 0) return false;
    out.resize(size_t(n));
    return f.readAt(0, out);
}

}  // namespace lumipage
