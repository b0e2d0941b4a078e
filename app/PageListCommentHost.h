#pragma once
#include <functional>
#include <optional>
#include <string>

#include "document/OpenFileTable.h"
#include "comments/CommentHost.h"
#include "view/PageNavigator.h"

namespace lumipage {

// The comment dialog's view of the page list: the current file, and its
// page when the file has more than one.
class PageListCommentHost : public CommentHost {
public:
    PageListCommentHost(OpenFileTable& table, PageNavigator& navigator, std::function<void()> changed)
        : table_(table), navigator_(navigator), changed_(std::move(changed)) {}

    std::optional<CommentTarget> commentTarget() const override {
        if (table_.empty() || table_.currentFile() < 1) return std::nullopt;
        const OpenFileEntry& entry = table_.entry(table_.currentFile());
        return CommentTarget{entry.path, entry.pages > 1 ? table_.pageInFile() : 0,
                             table_.currentPage() >= table_.totalPages()};
    }
    void goToNextPage() override { navigator_.nextPage(); }
    void commentChanged(const std::string&) override { changed_(); }

private:
    OpenFileTable& table_;
    PageNavigator& navigator_;
    std::function<void()> changed_;
};

}  // namespace lumipage
