#include "comments/CommentSections.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "comments/CommentFile.h"
#include "comments/CommentLabels.h"
#include "platform/TextCodec.h"

namespace lumipage {

std::string_view CommentSections::trimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string_view CommentSections::trim(std::string_view s) {
    s = trimRight(s);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

bool CommentSections::valueAfter(std::string_view line, std::string_view label, std::string_view& value) {
    const size_t at = line.find(label);
    if (at == std::string_view::npos) return false;
    value = trimRight(line.substr(at + label.size()));
    return true;
}

void CommentSections::walk(const std::string& file, int pageCount, const Handler& handle) {
    const auto stored = CommentFile::source(file);
    if (stored) walkText(text::fromCp932(*stored), pageCount, handle);
}

void CommentSections::walkText(std::string_view text, int pageCount, const Handler& handle) {
    int page = pageCount < 2 ? 1 : 0;  // lines before the first marker of a longer file belong to no page
    bool ended = false;
    bool sectionStart = true;
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        const std::string_view line = trimRight(text.substr(0, lf));
        text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
        if (line.starts_with(comment_labels::kMarker)) {
            long n = 0;
            for (size_t i = comment_labels::kMarker.size(); i < line.size() && std::isdigit(uint8_t(line[i])); ++i)
                n = std::min(n * 10 + (line[i] - '0'), 1000000L);
            page = int(n);
            ended = false;
            sectionStart = true;
            continue;
        }
        if (ended) continue;
        if (line.empty() || (page >= 1 && page <= pageCount &&
                             handle(line, page, std::exchange(sectionStart, false)) == Line::Unused)) {
            ended = true;
            if (page >= pageCount) return;
        }
    }
}

}  // namespace lumipage
