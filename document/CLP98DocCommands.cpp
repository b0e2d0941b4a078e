// The document's page list commands: moving, opening, adding and closing
// files, new pages and the caption.
#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/StartupRequest.h"
#include "base/Messages.h"
#include "base/Settings.h"
#include "comments/FileKind.h"
#include "document/CLP98Doc.h"
#include "document/DocumentObserver.h"
#include "document/ListFile.h"
#include "document/FileTypeCode.h"
#include "document/OpenFileTable.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace lumipage {

namespace {

constexpr const char* kNotFound = "が見つかりません";
constexpr const char* kTooLarge = "\nデータサイズが制限値を超えています";
bool tableFull(const OpenFileTable& table) {
    return table.fileCount() >= OpenFileTable::kMaxFiles || table.totalPages() >= OpenFileTable::kMaxPages;
}

}  // namespace

bool CLP98Doc::showCurrent() {
    if (table_.empty()) {
        empty();
        return false;
    }
    const int index = table_.currentFile();
    const std::string path = table_.entry(index).path;
    if (!isLoaded() || unsavedPage_ || path_ != path) {
        if (!open(path, table_.firstPageOf(index), table_.entry(index).table.get())) return false;
    }
    return showPage(table_.pageInFile());
}

bool CLP98Doc::goToPage(int page) {
    unsavedPage_ = false;
    if (table_.moveTo(page) == 0) {
        empty();
        return false;
    }
    return showCurrent();
}

bool CLP98Doc::openPath(const std::string& given, int page) {
    const std::string path = files::absolutePath(given);
    if (fileKindOf(path) == FileKind::Index) {
        if (table_.index().inUse && table_.index().path == path) return page > 0 ? goToPage(page) : true;
        return index_.read(path, false, page);
    }
    int index = table_.find(path);
    if (index != 0 && isLoaded() && !unsavedPage_ && path_ == path && page == 0) return true;
    if (index == 0) {
        if (!files::exists(path) && fileTypeOf(path) == FileTypeCode::Tiff && startup_.scanning) {
            if (observer_) observer_->scanNewFile(path);  // scanning creates the file
            return false;
        }
        if (table_.fileCount() >= OpenFileTable::kMaxFiles) return false;
        const int before = table_.fileCount();
        addByName(path);
        if (table_.fileCount() == before) return false;
        index = before + 1;
    }
    unsavedPage_ = false;
    table_.moveToEntry(index, std::max(page, 1));
    return showCurrent();
}

int CLP98Doc::addByName(const std::string& name) { return addByName(name, 0); }

int CLP98Doc::addByName(const std::string& name, int depth) {
    std::string_view text(name);
    if (text.starts_with('"')) text.remove_prefix(1);
    if (const size_t quote = text.rfind('"'); quote != std::string_view::npos) text = text.substr(0, quote);
    const std::string path = files::absolutePath(text);
    const std::vector<std::string> matches = files::search(path);
    if (matches.empty()) {
        messages_.message(path + kNotFound);
        return 0;
    }
    int added = 0;
    for (const std::string& match : matches) {
        if (tableFull(table_)) break;
        if (!match.ends_with('/')) added += addMatch(match, depth);
    }
    return added;
}

int CLP98Doc::addMatch(const std::string& path, int depth) {
    if (list_file::isListFile(path)) {
        std::vector<uint8_t> bytes;
        // A list that names itself (or lists naming each other) ends at a fixed depth.
        if (depth >= CLP98Doc::kMaxListNesting || !File::readAll(path, bytes)) return 0;
        int added = 0;
        for (const std::string& token : list_file::names(bytes)) {
            if (tableFull(table_)) break;
            added += addByName(token, depth + 1);
        }
        return added;
    }
    // Index files count no pages, so they are passed over here.
    return isListable(fileKindOf(path)) && table_.append(path) ? 1 : 0;
}

bool CLP98Doc::openChosen(const std::vector<std::string>& paths) {
    int before = table_.fileCount();
    bool first = true;
    for (const std::string& given : paths) {
        const std::string path = files::absolutePath(given);
        const FileKind kind = fileKindOf(path);
        if (kind == FileKind::Index) {
            index_.read(path, !first, 0);
            if (first) before = table_.fileCount();  // the index keeps its own order
        } else if (!isListable(kind)) {
            messages_.message(kUnsupportedFileType);  // a kind the program cannot read
        } else if (!table_.append(path) && tableFull(table_)) {
            break;
        }
        first = false;
    }
    if (!paths.empty()) settings_.openPath = files::folderOf(files::absolutePath(paths.back()));
    if (table_.fileCount() <= before) return false;
    table_.sortEntries(before + 1, table_.fileCount());
    unsavedPage_ = false;
    table_.moveToEntry(before + 1, 1);
    return showCurrent();
}

bool CLP98Doc::openDropped(const std::vector<std::string>& paths) {
    std::vector<std::string> fresh;
    int alreadyOpen = 0;
    for (const std::string& path : paths) {
        const int entry = table_.find(files::absolutePath(path));
        if (entry == 0) fresh.push_back(path);
        else if (alreadyOpen == 0) alreadyOpen = entry;
    }
    // New files join the list as chosen ones do; a file already in it is only made current.
    if (!fresh.empty()) return openChosen(fresh);
    if (alreadyOpen == 0) return false;
    return openPath(table_.entry(alreadyOpen).path);
}

void CLP98Doc::forgetIndexWhenEmpty() {
    if (table_.empty() && table_.index().inUse) index_.forget();
}

void CLP98Doc::closeCurrent() {
    if (unsavedPage_) {
        unsavedPage_ = false;
        if (!showCurrent()) empty();
        return;
    }
    if (table_.empty()) return;
    table_.remove(table_.currentFile());
    empty();
    // The entry that took its place (or the new last one) is shown; one that
    // will not open is closed in turn.
    while (!table_.empty() && !showCurrent()) table_.remove(table_.currentFile());
    if (table_.empty()) {
        empty();
        forgetIndexWhenEmpty();
    }
}

void CLP98Doc::closeSelected() {
    if (table_.closeByMark(PageWord::kSelected) == 0) return;
    if (table_.empty()) {
        empty();
        forgetIndexWhenEmpty();
        return;
    }
    if (!isLoaded() || table_.find(path_) == 0) empty();
    showCurrent();
}

void CLP98Doc::closeAll() {
    index_.savePrompt();
    const bool hadIndex = table_.index().inUse;
    if (hadIndex) settings_.pageStartPosition = table_.index().pageStartBefore;
    table_.reset();
    table_.setListChanged(false);
    table_.setSelectionChanged(false);
    empty();
    if (hadIndex) index_.forget();
}

void CLP98Doc::closePath(const std::string& given) {
    const std::string path = files::absolutePath(given);
    if (table_.index().inUse && table_.index().path == path) return closeAll();
    const int index = table_.find(path);
    if (index == 0) return;
    if (index == table_.currentFile()) return closeCurrent();
    table_.remove(index);
    forgetIndexWhenEmpty();
}

void CLP98Doc::pathRenamed(const std::string& from, const std::string& to) {
    IndexState& state = table_.index();
    if (state.inUse && state.path == from) {
        state.path = to;
        state.folder = files::folderOf(to);
        state.name = files::fileNameOf(to);
        if (observer_) observer_->indexChanged();
        return;
    }
    const int index = table_.find(from);
    if (index == 0) return;
    table_.rename(index, to);
    if (path_ == from) {
        path_ = to;
        type_ = fileTypeOf(to);
    }
}

bool CLP98Doc::newPage(PageRaster&& page, const std::string& title, const std::string& path, bool temporary) {
    if (page.width > PageRaster::kMaxSide || page.height > PageRaster::kMaxSide) {
        messages_.message(path + kTooLarge);
        return false;
    }
    if (temporary) {
        empty();
        path_ = path;
        type_ = fileTypeOf(path);
        filePages_ = filePage_ = 1;
        raster_ = std::move(page);
        unsavedPage_ = true;
        ++pageVersion_;
        setTitle(title);
        return true;
    }
    const std::string full = files::absolutePath(path);
    if (tableFull(table_)) return false;
    int index = table_.find(full);
    if (index != 0) table_.remove(index);
    else index = table_.fileCount() + 1;
    if (!table_.insert(index, full, 1)) return false;
    table_.moveToEntry(index, 1);
    if (!open(full, table_.firstPageOf(index))) {
        path_ = full;
        type_ = fileTypeOf(full);
        filePages_ = 1;
    }
    filePage_ = 1;
    raster_ = std::move(page);
    ++pageVersion_;
    setTitle(title);
    return true;
}

std::string CLP98Doc::caption() const {
    std::string c;
    char numbers[32];
    if (startup_.menuMode == 0 && table_.fileCount() > 1) {
        std::snprintf(numbers, sizeof numbers, "(%d/%d)", table_.currentPage(), table_.totalPages());
        c += unsavedPage_ ? "(----)" : numbers;
    }
    if (isLoaded()) {
        c += " [ ";
        if (table_.index().inUse) c += table_.index().displayName + " - ";
        c += files::fileNameOf(path_);
        if (filePages_ > 1) {
            std::snprintf(numbers, sizeof numbers, "(%d/%d)", filePage_, filePages_);
            c += numbers;
        }
        if (!commentTitle_.empty()) c += " " + commentTitle_;
        c += " ] ";
    }
    if (!unsavedPage_ && !table_.empty()) {
        const PageWord w = table_.word(table_.currentPage());
        if (w.has(PageWord::kSent)) c += " 送信済";
        if (w.has(PageWord::kSendError)) c += " 送信エラー";
        if (w.has(PageWord::kPrinted)) c += " 印刷済";
    }
    return c;
}

}  // namespace lumipage
