#include "comments/StandardItems.h"

#include <algorithm>
#include <vector>

#include "comments/CommentLabels.h"

namespace lumipage {

namespace {

using namespace comment_labels;

bool hasAny(std::string_view text, std::string_view item) {
    // An item counts as present under any of its labels.
    if (item == kJapaneseTitle)
        return std::any_of(kTitle.begin(), kTitle.end(), [&](auto l) { return text.find(l) != text.npos; });
    if (item == kJapaneseContents)
        return std::any_of(kContents.begin(), kContents.end(), [&](auto l) { return text.find(l) != text.npos; });
    return text.find(item) != std::string_view::npos;
}

std::vector<std::string_view> itemsFor(FileKind kind) {
    switch (int(kind) % 6) {
        case 0: return {kJapaneseTitle, kCreator};
        case 1: return {kJapaneseTitle, kJapaneseContents};
        case 2: return {kBookTitle, kAuthor};
        case 4: return {kProgramName, kCreator};
        default: return {};
    }
}

}  // namespace

std::string withStandardItems(std::string_view text, FileKind kind) {
    std::string out(text);
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    for (const std::string_view item : itemsFor(kind))
        if (!hasAny(out, item)) out.append(item).append("\r\n");
    out.append(kJapaneseKeywords).append("\r\n");
    return out;
}

}  // namespace lumipage
