#include "comments/BookContents.h"

#include <algorithm>

#include "comments/CommentLabels.h"
#include "comments/CommentSections.h"
#include "platform/TextCodec.h"

namespace lumipage {

namespace {

using Line = CommentSections::Line;

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

// The contents item of a line: "目次：" wins over the English labels on one line.
bool contentsOf(std::string_view line, std::string_view& text) {
    if (CommentSections::valueAfter(line, comment_labels::kJapaneseContents, text)) return true;
    return CommentSections::valueAfter(line, "Contents:", text) || CommentSections::valueAfter(line, "CONTENTS:", text);
}

// Title labels are searched here Japanese first.
bool titleOf(std::string_view line, std::string_view& text) {
    return CommentSections::valueAfter(line, comment_labels::kJapaneseTitle, text) ||
           CommentSections::valueAfter(line, "Title:", text) || CommentSections::valueAfter(line, "TITLE:", text);
}

class ContentsReader {
public:
    ContentsReader(int firstPage, std::vector<ContentsEntry>& out) : firstPage_(firstPage), out_(out) {}

    Line operator()(std::string_view line, int page, bool sectionStart) {
        if (sectionStart) {
            title_.clear();
            titleSeen_ = false;
            entries_ = 0;
        }
        std::string_view text;
        if (!titleSeen_ && titleOf(line, text)) {
            title_ = text;
            titleSeen_ = true;
            return Line::Used;
        }
        if (contentsOf(line, text)) {
            std::string entry(text);
            if (entries_ == 0 && entry.empty()) entry = title_;
            if (!entry.empty()) {
                out_.push_back({std::move(entry), firstPage_ + page - 1});
                ++entries_;
            }
            return Line::Used;
        }
        return entries_ > 0 ? Line::Unused : Line::Used;
    }

private:
    int firstPage_;
    std::vector<ContentsEntry>& out_;
    std::string title_;
    bool titleSeen_ = false;
    int entries_ = 0;
};

}  // namespace

std::vector<ContentsEntry> contentsEntriesOfText(std::string_view comment, int firstPage, int pageCount) {
    std::vector<ContentsEntry> out;
    ContentsReader reader(firstPage, out);
    CommentSections::walkText(comment, pageCount, std::ref(reader));
    return out;
}

std::vector<ContentsEntry> contentsEntries(const std::string& file, int firstPage, int pageCount) {
    std::vector<ContentsEntry> out;
    ContentsReader reader(firstPage, out);
    CommentSections::walk(file, pageCount, std::ref(reader));
    return out;
}

void KeywordIndex::addText(std::string_view comment, int firstPage, int pageCount) {
    CommentSections::walkText(comment, pageCount, [&](std::string_view line, int page, bool) {
        addLine(line, firstPage + page - 1);
        return Line::Used;
    });
}

void KeywordIndex::addFile(const std::string& file, int firstPage, int pageCount) {
    CommentSections::walk(file, pageCount, [&](std::string_view line, int page, bool) {
        addLine(line, firstPage + page - 1);
        return Line::Used;
    });
}

void KeywordIndex::addLine(std::string_view line, int page) {
    std::string_view list;
    if (!CommentSections::valueAfter(line, comment_labels::kJapaneseKeywords, list) &&
        !CommentSections::valueAfter(line, "KeyWord:", list) && !CommentSections::valueAfter(line, "KEYWORD:", list))
        return;
    while (true) {
        const size_t comma = list.find(',');
        const std::string_view word = CommentSections::trim(list.substr(0, comma));
        if (!word.empty()) add(word, page);
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
}

void KeywordIndex::add(std::string_view keyword, int page) {
    for (Row& row : rows_) {
        if (!equalNoCase(row.keyword, keyword)) continue;
        if (row.pages.size() < kMaxPagesPerRow) row.pages.push_back(page);
        return;
    }
    rows_.push_back({std::string(keyword), {page}});
}

int KeywordIndex::findPrefix(std::string_view typed) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].keyword.size() >= typed.size() && equalNoCase(rows_[i].keyword.substr(0, typed.size()), typed))
            return int(i);
    return -1;
}

}  // namespace lumipage
