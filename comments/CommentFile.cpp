#include "comments/CommentFile.h"

#include <cctype>

#include "base/Messages.h"
#include "comments/CommentLabels.h"
#include "image/BookHeader.h"
#include "platform/Cp932Text.h"
#include "platform/AtomicFile.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace lumipage {

namespace {

using comment_labels::kMarker;
constexpr std::string_view kCrLf = "\r\n";

bool atLineStart(std::string_view text, size_t at) { return at == 0 || text[at - 1] == '\n'; }

// The next "<P." at a line start, from `from` on.
size_t nextMarker(std::string_view text, size_t from) {
    for (size_t at = text.find(kMarker, from); at != std::string_view::npos; at = text.find(kMarker, at + 1))
        if (atLineStart(text, at)) return at;
    return std::string_view::npos;
}

// The page a marker names, or -1 when the number is not followed by ">".
int markerPage(std::string_view text, size_t at) {
    size_t i = at + kMarker.size();
    long page = 0;
    const size_t digits = i;
    while (i < text.size() && std::isdigit(uint8_t(text[i])) && page < 1000000) page = page * 10 + (text[i++] - '0');
    if (i == digits || i >= text.size() || text[i] != '>') return -1;
    return int(page);
}

std::string marker(int page) { return std::string(kMarker) + std::to_string(page) + ">"; }

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool CommentFile::isBook(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view ext = path.substr(dot + 1);
    return ext.size() == 3 && std::toupper(uint8_t(ext[0])) == 'L' && std::toupper(uint8_t(ext[1])) == 'P' &&
           std::toupper(uint8_t(ext[2])) == 'B';
}

bool CommentFile::isProtected(const std::string& file) { return isBook(file) || files::isReadOnly(pathFor(file)); }

std::optional<std::string> CommentFile::source(const std::string& file) {
    std::optional<std::string> text;
    if (isBook(file)) {
        // Reading a comment never says anything: a comment that cannot be read is no comment.
        File book;
        BookHeader header;
        if (!book.open(file, File::Mode::Read)) return std::nullopt;
        if (BookHeader::read(book, header) == ReadError::None) text = book_file::readComment(book, header);
    } else {
        std::vector<uint8_t> bytes;
        if (File::readAll(pathFor(file), bytes)) text = std::string(bytes.begin(), bytes.end());
    }
    if (text && text->empty()) return std::nullopt;
    return text;
}

std::string_view CommentFile::sectionOf(std::string_view stored, int page) {
    if (page <= 0) {
        const size_t first = nextMarker(stored, 0);
        return first == std::string_view::npos ? stored : stored.substr(0, first);
    }
    const std::string wanted = marker(page);
    for (size_t at = nextMarker(stored, 0); at != std::string_view::npos; at = nextMarker(stored, at + 1)) {
        if (stored.compare(at, wanted.size(), wanted) != 0) continue;
        const size_t lineEnd = stored.find('\n', at);
        if (lineEnd == std::string_view::npos) return {};
        const size_t next = nextMarker(stored, lineEnd + 1);
        return stored.substr(lineEnd + 1, next == std::string_view::npos ? std::string_view::npos : next - lineEnd - 1);
    }
    return {};
}

std::string CommentFile::withSection(std::string_view stored, int page, std::string_view text) {
    // The region to replace: from page n's marker (or, without one, from the
    // first marker of a higher page) to the first marker of a higher page.
    size_t begin = std::string_view::npos;
    size_t end = std::string_view::npos;
    if (page <= 0) begin = 0;
    for (size_t at = nextMarker(stored, 0); at != std::string_view::npos; at = nextMarker(stored, at + 1)) {
        const int p = markerPage(stored, at);
        if (p < 0) continue;
        if (p == page && page > 0 && begin == std::string_view::npos) begin = at;
        if (p > page) {
            if (begin == std::string_view::npos) begin = at;
            end = at;
            break;
        }
    }
    std::string out;
    if (begin == std::string_view::npos) {  // no section at or above n: the new one goes at the end
        out.assign(stored);
        if (!out.empty() && out.back() != '\n') out += kCrLf;
        begin = end = stored.size();
    } else {
        if (end == std::string_view::npos) end = stored.size();
        out.assign(stored.substr(0, begin));
    }
    if (!text.empty()) {
        if (page > 0) out.append(marker(page)).append(kCrLf);
        out.append(text);
    }
    out.append(stored.substr(end));
    return out;
}

std::optional<std::string> CommentFile::read(const std::string& file, int page, bool* hasMarkers) {
    const auto stored = source(file);
    if (hasMarkers) *hasMarkers = stored && stored->find(kMarker) != std::string::npos;
    if (!stored) return std::nullopt;
    return text::fromCp932(sectionOf(*stored, page));
}

std::string CommentFile::title(const std::string& file, int page) {
    const auto comment = read(file, page);
    if (!comment) return {};
    for (const std::string_view label : comment_labels::kTitle) {
        const size_t at = comment->find(label);
        if (at == std::string::npos) continue;
        std::string_view value = std::string_view(*comment).substr(at + label.size());
        value = value.substr(0, value.find_first_of("\r\n"));
        return std::string(trimRight(value));
    }
    return {};
}

bool CommentFile::write(const std::string& file, int page, std::string_view text, Messages& messages) {
    if (isBook(file) || files::isReadOnly(pathFor(file))) return false;
    return writeForNewBook(file, page, text, messages);
}

bool CommentFile::writeForNewBook(const std::string& file, int page, std::string_view text, Messages& messages) {
    const std::string path = pathFor(file);
    auto encoded = cp932::encodeOrSay(text, path, messages);
    if (!encoded) return false;
    if (!encoded->empty() && encoded->back() != '\n') *encoded += kCrLf;
    std::string old;
    if (files::exists(path)) {
        std::vector<uint8_t> bytes;
        if (!File::readAll(path, bytes)) return false;  // never replace what could not be read
        old.assign(bytes.begin(), bytes.end());
    }
    const std::string updated = withSection(old, page, *encoded);
    return writeFileAtomically(
        path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(updated.data()), updated.size()));
}

std::string CommentFile::titleText(std::string_view title) {
    return title.empty() ? std::string() : std::string(comment_labels::kJapaneseTitle) + std::string(title);
}

bool CommentFile::setTitle(const std::string& file, int page, std::string_view title, Messages& messages) {
    return write(file, page, titleText(title), messages);
}

}  // namespace lumipage
