// Deleting the files behind pages, and editing the current page's file.
#include <filesystem>

#include "base/Messages.h"
#include "comments/CommentFile.h"
#include "document/CLP98Doc.h"
#include "document/DocumentObserver.h"
#include "base/FileEditor.h"
#include "document/OpenFileTable.h"
#include "document/PageFileOperations.h"
#include "platform/FileSystem.h"

namespace lumipage {

namespace {

uint8_t markOf(DeleteScope scope) {
    switch (scope) {
        case DeleteScope::Sent: return PageWord::kSent;
        case DeleteScope::Printed: return PageWord::kPrinted;
        case DeleteScope::Selected: return PageWord::kSelected;
        default: return 0;
    }
}

bool allPagesMarked(const OpenFileTable& table, int index, uint8_t mark) {
    const int first = table.firstPageOf(index);
    for (int p = first; p < first + table.entry(index).pages; ++p)
        if (!table.word(p).has(mark)) return false;
    return true;
}

std::optional<std::filesystem::file_time_type> lastWriteTime(const std::string& path) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    return time;
}

}  // namespace

std::string PageFileOperations::deleteQuestion(DeleteScope scope, const std::string& currentPath) {
    switch (scope) {
        case DeleteScope::Sent: return "送信済ファイルを削除します。\nよろしいですか？";
        case DeleteScope::Printed: return "印刷済ファイルを削除します。\nよろしいですか？";
        case DeleteScope::Current: return currentPath + " を削除します。\nよろしいですか？";
        case DeleteScope::Selected: return "選択頁のファイルを削除します。\nよろしいですか？";
        case DeleteScope::All: return "開かれているファイルを全て削除します。\nよろしいですか？";
    }
    return {};
}

// Deletes one entry's file and comment file and closes it; a file that
// cannot be deleted stays open.
bool PageFileOperations::deleteEntry(int index) {
    const std::string path = table_.entry(index).path;
    if (!files::removeFile(path)) return false;
    if (observer_) observer_->fileWritten(path);
    const std::string comment = CommentFile::pathFor(path);
    if (files::exists(comment)) files::removeFile(comment);
    if (doc_.isLoaded() && doc_.path() == path) doc_.empty();
    table_.remove(index);
    return true;
}

// Shows the current page again after files were deleted.
void PageFileOperations::showAfterDeletion() {
    if (table_.empty()) {
        doc_.closeAll();
        return;
    }
    if (!doc_.isLoaded()) doc_.goToPage(table_.currentPage());
}

int PageFileOperations::deleteFiles(DeleteScope scope) {
    if (table_.empty()) return 0;
    const int current = table_.currentFile();
    if (!messages_.askOkCancel(deleteQuestion(scope, table_.entry(current).path))) return 0;
    return deleteMarked(scope);
}

int PageFileOperations::deleteMarked(DeleteScope scope) {
    if (table_.empty()) return 0;
    const int current = table_.currentFile();
    const uint8_t mark = markOf(scope);
    int deleted = 0;
    if (scope == DeleteScope::Current) deleted = deleteEntry(current) ? 1 : 0;
    for (int index = 1; scope != DeleteScope::Current && index <= table_.fileCount();) {
        if ((scope == DeleteScope::All || allPagesMarked(table_, index, mark)) && deleteEntry(index)) {
            ++deleted;
            continue;  // the next entry took this place
        }
        ++index;
    }
    showAfterDeletion();
    return deleted;
}

bool PageFileOperations::openWritten(const ConversionResult& result) {
    if (result.files.empty()) return false;
    doc_.closeAll();
    for (const std::string& path : result.files)
        if (!table_.append(path) && table_.totalPages() >= OpenFileTable::kMaxPages) break;
    return doc_.goToPage(1);
}

std::optional<PageFileCommand> pageFileCommandOf(int id) {
    switch (PageFileCommand(id)) {
        case PageFileCommand::SaveCurrent:
        case PageFileCommand::ConvertSelected:
        case PageFileCommand::ConvertAll:
        case PageFileCommand::EditCurrent:
        case PageFileCommand::DeleteSent:
        case PageFileCommand::DeletePrinted:
        case PageFileCommand::DeleteCurrent:
        case PageFileCommand::DeleteSelected:
        case PageFileCommand::DeleteAll: return PageFileCommand(id);
    }
    return std::nullopt;
}

bool PageFileOperations::enabled(PageFileCommand command, FileEditor& editor) const {
    const MarkCounts counts = MarkCounts::of(table_.words());
    switch (command) {
        case PageFileCommand::SaveCurrent:
        case PageFileCommand::DeleteCurrent:
        case PageFileCommand::DeleteAll: return !table_.empty();
        case PageFileCommand::ConvertSelected:
        case PageFileCommand::DeleteSelected: return counts.selected > 0;
        case PageFileCommand::ConvertAll: return table_.totalPages() > 0;
        case PageFileCommand::EditCurrent: return canEditCurrent(editor);
        case PageFileCommand::DeleteSent: return counts.sent > 0;
        case PageFileCommand::DeletePrinted: return counts.printed > 0;
    }
    return false;
}

bool PageFileOperations::canEditCurrent(FileEditor& editor) const {
    return !editing_ && doc_.isLoaded() && !doc_.unsavedPage() && doc_.filePages() == 1 &&
           editor.knowsProgramFor(doc_.path());
}

bool PageFileOperations::editCurrent(FileEditor& editor) {
    if (!canEditCurrent(editor)) return false;
    const std::string path = doc_.path();
    const auto before = lastWriteTime(path);
    editing_ = true;
    const bool ran = editor.editAndWait(path);
    editing_ = false;
    if (!files::exists(path)) {
        doc_.closePath(path);
    } else if (lastWriteTime(path) != before) {
        const int current = table_.currentPage();
        doc_.empty();
        doc_.goToPage(current);
    }
    return ran;
}

}  // namespace lumipage
