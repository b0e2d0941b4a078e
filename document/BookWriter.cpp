#include "document/BookWriter.h"

#include <algorithm>
#include <cstring>

#include "comments/CommentFile.h"
#include "document/OpenFileTable.h"
#include "platform/AtomicFile.h"

namespace lumipage {

namespace {

void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

BookWriter::BookWriter() = default;
BookWriter::~BookWriter() = default;

bool BookWriter::begin(const std::string& path, int plannedPages, int pageStartPosition) {
    abandon();
    planned_ = std::clamp(plannedPages, 0, OpenFileTable::kMaxPages);
    written_ = 0;
    path_ = path;
    header_ = BookHeader{};
    header_.pages = uint32_t(planned_);
    header_.wordTable = BookHeader::kSize;
    header_.directory = BookHeader::kSize + 2 * uint64_t(planned_);
    header_.pageStartPosition = uint8_t(pageStartPosition);
    words_.assign(size_t(planned_), PageWord{});
    directory_.assign(size_t(planned_) * BookHeader::kDirectoryEntrySize, 0);
    out_ = std::make_unique<AtomicFileWriter>(path);
    std::vector<uint8_t> start = header_.bytes();
    start.resize(start.size() + words_.size() * 2 + directory_.size(), 0);  // the first page follows at 64 + 18n
    if (!out_->open() || !out_->file().writeAt(0, start)) {
        abandon();
        return false;
    }
    return true;
}

bool BookWriter::addPage(const PageRaster& page, PageWord word) {
    if (!out_ || written_ >= planned_) return false;
    int64_t offset = 0;
    if (!records_.append(out_->file(), page, offset)) {
        abandon();
        return false;
    }
    uint8_t* entry = &directory_[size_t(written_) * BookHeader::kDirectoryEntrySize];
    put32(entry, uint32_t(offset));
    put32(entry + 8, BookHeader::kRecordHeaderSize);
    std::memcpy(entry + 12, "LPP", 4);
    words_[size_t(written_)] = word.forBook();
    ++written_;
    return true;
}

bool BookWriter::end(const std::string& indexFile, const std::function<void()>& fillComment) {
    if (!out_) return false;
    const std::string commentPath = CommentFile::pathFor(path_);
    // The index's comment describes the pages just written: it becomes the book's.
    std::vector<uint8_t> comment;
    if (!indexFile.empty() && File::readAll(CommentFile::pathFor(indexFile), comment) && !comment.empty())
        writeFileAtomically(commentPath, comment);
    if (fillComment) fillComment();
    if (!File::readAll(commentPath, comment)) comment.clear();
    File& file = out_->file();
    if (!comment.empty()) {
        const int64_t at = file.size();
        if (at < 0 || !file.writeAt(at, comment)) {
            abandon();
            return false;
        }
        header_.comment = uint64_t(at);
        header_.commentLength = uint32_t(comment.size());
    }
    header_.pages = uint32_t(written_);
    std::vector<uint8_t> start = header_.bytes();
    for (const PageWord w : words_) {
        start.push_back(uint8_t(w.bits));
        start.push_back(uint8_t(w.bits >> 8));
    }
    start.insert(start.end(), directory_.begin(), directory_.end());
    const bool ok = file.writeAt(0, start) && out_->commit();
    out_.reset();
    return ok;
}

void BookWriter::abandon() {
    if (out_) out_->abandon();
    out_.reset();
}

}  // namespace lumipage
