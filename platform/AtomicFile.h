#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "platform/File.h"

namespace lumipage {

// Writes a file so that the old one is replaced only when the new one is
// complete: the data goes to a temporary file beside the target, which is
// flushed to disk and then renamed over the target. If anything fails, or
// the writer is dropped without commit(), the temporary file is removed and
// the target is as it was.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file; false when the folder cannot be written.
    bool open();
    // The temporary file, for writers that write at offsets and read back.
    File& file() { return file_; }
    // Flushes, closes and renames over the target.
    bool commit();
    // Removes the temporary file; the target stays untouched.
    void abandon();
    const std::string& target() const { return target_; }

private:
    std::string target_;
    std::string temporary_;
    File file_;
    bool committed_ = false;
};

// The whole file at once, with the same guarantee.
bool writeFileAtomically(const std::string& target, std::span<const uint8_t> data);

}  // namespace lumipage
