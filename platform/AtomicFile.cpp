#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <utility>

namespace lumipage {

AtomicFileWriter::AtomicFileWriter(std::string target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() {
    if (!committed_) abandon();
}

bool AtomicFileWriter::open() {
    // Beside the target, so the rename stays within one file system.
    temporary_ = target_ + ".lumipage-" + std::to_string(::getpid()) + ".tmp";
    if (!file_.open(temporary_, File::Mode::Create)) {
        temporary_.clear();
        return false;
    }
    // Keep the permissions of the file being replaced.
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) ::chmod(temporary_.c_str(), st.st_mode & 07777);
    return true;
}

bool AtomicFileWriter::commit() {
    if (temporary_.empty() || !file_.isOpen()) return false;
    const bool synced = file_.sync();
    file_.close();
    if (!synced || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        abandon();
        return false;
    }
    committed_ = true;
    temporary_.clear();
    return true;
}

void AtomicFileWriter::abandon() {
    file_.close();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool writeFileAtomically(const std::string& target, std::span<const uint8_t> data) {
    AtomicFileWriter writer(target);
    return writer.open() && writer.file().writeAt(0, data) && writer.commit();
}

}  // namespace lumipage
