#pragma once
#include <optional>
#include <string>

namespace lumipage {

// Whose comment the dialog shows: the current file's, as its file part
// (page 0) or as the section of the page within the file.
struct CommentTarget {
    std::string file;
    int page = 0;
    bool lastPageOfList = false;
};

// What the comment dialog needs from the program around it.
class CommentHost {
public:
    virtual ~CommentHost() = default;
    // The current file and page, or nothing when no page is shown.
    virtual std::optional<CommentTarget> commentTarget() const = 0;
    virtual void goToNextPage() = 0;
    // A comment was written or deleted: the caption's title may have changed.
    virtual void commentChanged(const std::string& file) = 0;
};

}  // namespace lumipage
