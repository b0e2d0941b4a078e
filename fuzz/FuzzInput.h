#pragma once
// Hands fuzz input to the file readers as a real file descriptor without
// touching the disk: an anonymous memory file, opened again by its /proc name.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Messages.h"
#include "platform/File.h"

namespace lumipage::fuzz {

class MemoryFile {
public:
    MemoryFile(const uint8_t* data, size_t size) : fd_(memfd_create("lumipage-fuzz", 0)) {
        if (fd_ >= 0 && size > 0 && ::write(fd_, data, size) != ssize_t(size)) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~MemoryFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }
    bool open(File& file) const { return fd_ >= 0 && file.open(path(), File::Mode::Read); }

private:
    int fd_;
};

// Messages go nowhere while fuzzing.
class SilentMessages : public Messages {
public:
    void message(const std::string&) override {}
    bool askOkCancel(const std::string&) override { return false; }
    bool askYesNo(const std::string&) override { return false; }
    bool askRetryCancel(const std::string&) override { return false; }
};

}  // namespace lumipage::fuzz
