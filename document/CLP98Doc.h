#pragma once
#include <memory>
#include <string>
#include <vector>

#include "document/FileTypeCode.h"
#include "document/IndexFile.h"
#include "document/PageSource.h"
#include "image/PageRaster.h"

namespace lumipage {

class CDIB;
class DocumentObserver;
class Messages;
class OpenFileTable;
struct Settings;
struct StartupRequest;

// The document: the one file of the page list that is loaded, its readers
// and the decoded current page; and the commands that move through the page
// list, open and close files and build the caption.
class CLP98Doc {
public:
    static constexpr size_t kShortTitleBytes = 55;
    static constexpr int kMaxListNesting = 16;  // list files naming list files

    CLP98Doc(OpenFileTable& table, Settings& settings, const StartupRequest& startup, Messages& messages,
             DocumentObserver* observer = nullptr);
    ~CLP98Doc();
    CLP98Doc(const CLP98Doc&) = delete;
    CLP98Doc& operator=(const CLP98Doc&) = delete;

    // The loaded file.
    bool isLoaded() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    FileTypeCode type() const { return type_; }
    int filePages() const { return filePages_; }
    int filePage() const { return filePage_; }
    const PageRaster& raster() const { return raster_; }
    PageRaster& raster() { return raster_; }
    const std::string& commentTitle() const { return commentTitle_; }
    const std::string& shortTitle() const { return shortTitle_; }
    bool unsavedPage() const { return unsavedPage_; }
    // Changes whenever the page as read changes (another page loaded, the
    // document emptied, a new page taken): what shows the page compares it
    // with the version it showed.
    uint64_t pageVersion() const { return pageVersion_; }
    // The bitmap a loaded .BMP page was read from, kept to be saved unchanged; null for other files.
    const CDIB* sourceBitmap() const { return source_ ? source_->sourceBitmap() : nullptr; }
    // "LumipageBook 2.1" as the loaded book has it, for the book information.
    std::string bookHeaderText() const { return source_ ? source_->bookHeaderText() : std::string(); }

    // Loads a file with the page source of its type; `firstPage` is the
    // global page of its first page, `counted` what counting it left (or null).
    bool open(const std::string& path, int firstPage, const PageTable* counted = nullptr);
    // Decodes page 1..filePages() of the loaded file into the raster.
    bool showPage(int page);
    void empty();

    // Page list commands.
    bool goToPage(int page);
    // Opens a path as the shell, dropped files and other copies ask; page 0 = the first.
    bool openPath(const std::string& path, int page = 0);
    // Adds files named with quotes, wildcards or "@...LST" list files; returns how many were added.
    int addByName(const std::string& name);
    // The files chosen in an open dialog, in its order; the added ones are sorted by path.
    bool openChosen(const std::vector<std::string>& paths);
    // Files dropped on the window: new ones join the list as chosen files
    // do; a file already in the list becomes current instead of joining it again.
    bool openDropped(const std::vector<std::string>& paths);
    void closeCurrent();
    void closeSelected();
    void closeAll();
    void closePath(const std::string& path);
    void pathRenamed(const std::string& from, const std::string& to);
    // A page that exists only in memory (temporary) or as a new file of one page.
    bool newPage(PageRaster&& page, const std::string& title, const std::string& path, bool temporary);
    std::string caption() const;
    // Reads the shown page's title again after its comment was written or deleted.
    void refreshCommentTitle() { updateCommentTitle(); }

    IndexFile& index() { return index_; }
    // Where the sources this document makes report their directory walks.
    void setSourceStats(PageSourceStats* stats) { sourceStats_ = stats; }
    OpenFileTable& table() { return table_; }
    // Where the document reports and asks; the commands working on it use the same.
    Messages& messages() const { return messages_; }

private:
    void updateCommentTitle();
    void setTitle(const std::string& title);
    bool showCurrent();
    int addMatch(const std::string& path, int depth);
    int addByName(const std::string& name, int depth);
    void forgetIndexWhenEmpty();

    OpenFileTable& table_;
    Settings& settings_;
    const StartupRequest& startup_;
    Messages& messages_;
    DocumentObserver* observer_;
    IndexFile index_;

    std::string path_;
    FileTypeCode type_ = FileTypeCode::Unsupported;
    std::unique_ptr<PageSource> source_;
    PageSourceStats* sourceStats_ = nullptr;
    int filePages_ = 0;
    int filePage_ = 0;
    PageRaster raster_;
    std::string commentTitle_;
    std::string shortTitle_;
    bool unsavedPage_ = false;
    uint64_t pageVersion_ = 0;
};

}  // namespace lumipage
