#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lumipage {

// A file opened for reading or writing through POSIX calls. Every operation
// reports success; nothing throws. Short reads count as failures unless the
// caller asks for "up to".
class File {
public:
    enum class Mode { Read, ReadWrite, Create };  // Create truncates or makes the file

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    bool open(const std::string& path, Mode mode);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    // Length of the file now, or -1.
    int64_t size() const;
    // Exactly data.size() bytes at offset; false on a short read.
    bool readAt(int64_t offset, std::span<uint8_t> data) const;
    // Up to data.size() bytes at offset; returns the count read, -1 on error.
    int64_t readUpTo(int64_t offset, std::span<uint8_t> data) const;
    bool writeAt(int64_t offset, std::span<const uint8_t> data);
    bool append(std::span<const uint8_t> data);
    bool sync();

    // The whole file; false when it cannot be read.
    static bool readAll(const std::string& path, std::vector<uint8_t>& out);

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace lumipage
