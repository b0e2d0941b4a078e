// Saving the current page and converting pages into other files.
#include "document/PageFileOperations.h"

#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/Messages.h"
#include "base/Settings.h"
#include "comments/CommentFile.h"
#include "document/CLP98Doc.h"
#include "document/ConversionProgress.h"
#include "document/DocumentObserver.h"
#include "document/OpenFileTable.h"
#include "image/CDIB.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace lumipage {

PageFileOperations::PageFileOperations(CLP98Doc& doc, Settings& settings, Messages& messages,
                                       DocumentObserver* observer)
    : doc_(doc),
      table_(doc.table()),
      settings_(settings),
      messages_(messages),
      observer_(observer),
      writer_(settings.outCode, messages) {}

bool PageFileOperations::refuse(TargetProblem problem) {
    messages_.message(problem == TargetProblem::CannotSave ? kCannotSaveType : kUnsupportedFileType);
    return false;
}

bool PageFileOperations::fromColourBitmap() const {
    const CDIB* bitmap = doc_.sourceBitmap();
    return bitmap && bitmap->bitsPerPixel() > 1;
}

PageOrigin PageFileOperations::currentOrigin() const {
    return PageOrigin{doc_.path(), doc_.filePage(), doc_.filePages(), doc_.raster().dpi, fromColourBitmap()};
}

// The page as the window shows it, derived from the page as read and its word.
const PageRaster* PageFileOperations::shownPage() {
    const PageRaster& page = doc_.raster();
    if (!doc_.isLoaded() || !page.hasBits()) return nullptr;
    orientation_.showPage(&page, table_.word(0).transform());
    return orientation_.displayed();
}

PageToWrite PageFileOperations::pageToWrite() {
    PageToWrite page;
    page.raster = shownPage();
    if (page.raster) page.asRead = &doc_.raster();
    page.word = table_.word(0);
    // An untransformed bitmap page is written as the bitmap it was read from.
    if (page.word.transform() == 0) page.keptBitmap = doc_.sourceBitmap();
    page.titleCp932 = text::toCp932(doc_.shortTitle()).value_or(std::string());
    return page;
}

PageFileOperations::PendingComment PageFileOperations::commentFor(const std::string& target, int targetPage) const {
    return PendingComment{doc_.path(), doc_.filePages(), doc_.filePage(), doc_.commentTitle(), target, targetPage};
}

// The source's comment (its page's section, or the file part of a one-page
// source) becomes the comment of the written page; without a comment file
// the page's title, when it has one, does.
void PageFileOperations::copyComment(const PendingComment& c, OverwritePolicy& overwrite) {
    const std::string sourceComment = CommentFile::pathFor(c.source);
    const std::string targetComment = CommentFile::pathFor(c.target);
    if (sourceComment == targetComment) return;
    if (files::isReadOnly(targetComment)) {
        if (!overwrite.mayReplace(targetComment, true) || !files::makeWritable(targetComment)) return;
    }
    const bool existed = files::exists(targetComment);
    // A book being written takes the comments into its comment file, which it embeds.
    const auto write = CommentFile::isBook(c.target) ? &CommentFile::writeForNewBook : &CommentFile::write;
    if (files::exists(sourceComment)) {
        const auto text = CommentFile::read(c.source, c.filePages > 1 ? c.pageInFile : 0);
        if (text && !text->empty()) write(c.target, c.targetPage, *text, messages_);
    } else if (!c.title.empty()) {
        write(c.target, c.targetPage, CommentFile::titleText(c.title), messages_);
    }
    if (!existed && files::exists(targetComment) && observer_) observer_->fileWritten(targetComment);
}

// Keeps the page list in step with a file just written over one of its entries.
void PageFileOperations::written(const std::string& path) {
    if (observer_) observer_->fileWritten(path);
    const int index = table_.find(path);
    if (index == 0) return;
    if (doc_.isLoaded() && doc_.path() == path) {
        if (doc_.filePages() == 1) {
            // Shown again from the new file, which already holds the transform.
            table_.setTransform(0, 0, PageWord::kTransform);
            const int current = table_.currentPage();
            doc_.empty();
            doc_.goToPage(current);
        } else {
            doc_.closePath(path);
            doc_.openPath(path);
        }
        return;
    }
    table_.setTransform(table_.firstPageOf(index), 0, PageWord::kTransform);
}

bool PageFileOperations::saveCurrentPage(const std::string& given, OverwritePolicy& overwrite, bool copyComments) {
    TargetProblem problem = TargetProblem::None;
    const auto target = parseSaveTarget(given, problem);
    if (!target) return refuse(problem);
    const PageToWrite page = pageToWrite();
    if (!page.raster) {
        messages_.message(kNothingToSave);
        return false;
    }
    if (fromColourBitmap() && target->extensionGiven() && target->type != FileTypeCode::Bitmap) {
        messages_.message(kWrongExtension);
        return false;
    }
    const PageOrigin origin = currentOrigin();
    const std::string path = targetPathFor(*target, origin, 0);
    if (!mayWriteTarget(path, overwrite)) return false;
    writer_.setOutCode(settings_.outCode);
    if (!writer_.writeSingle(path, typeFor(*target, origin), target->dpi, page)) return false;
    if (copyComments) copyComment(commentFor(path, 0), overwrite);
    written(path);
    return true;
}

bool PageFileOperations::writeOne(const SaveTarget& target, int sequence, OverwritePolicy& overwrite,
                                  bool copyComments, ConversionResult& result, ConversionProgress& progress) {
    // A colour bitmap keeps its colours only in a bitmap; the conversion ends here.
    if (fromColourBitmap() && target.extensionGiven() && target.type != FileTypeCode::Bitmap) {
        messages_.message(kWrongExtension);
        return false;
    }
    const PageOrigin origin = currentOrigin();
    const std::string path = targetPathFor(target, origin, sequence);
    if (!mayWriteTarget(path, overwrite)) {
        progress.skipped(path);
        return true;
    }
    const PageToWrite page = pageToWrite();
    if (!page.raster) return true;  // the reader has said why
    if (!writer_.writeSingle(path, typeFor(target, origin), target.dpi, page)) return false;
    if (copyComments) copyComment(commentFor(path, 0), overwrite);
    written(path);
    result.files.push_back(path);
    ++result.pagesWritten;
    return true;
}

void PageFileOperations::convertIntoOne(const SaveTarget& target, const std::vector<int>& pages,
                                        const ConvertOptions& options, OverwritePolicy& overwrite,
                                        ConversionProgress& progress, ConversionResult& result) {
    doc_.goToPage(pages.front());
    PageOrigin first = currentOrigin();
    first.fromColourBitmap = false;  // a bitmap holds one page only
    const std::string path = targetPathFor(target, first, 0);
    if (!mayWriteTarget(path, overwrite)) {
        progress.skipped(path);
        return;
    }
    if (target.type == FileTypeCode::Book && options.bookInformation &&
        !prepareBookInformation(target, *options.bookInformation))
        return;
    if (!writer_.begin(path, target.type, target.dpi, int(pages.size()), options.pageStartPosition)) return;
    result.started = true;
    std::vector<PendingComment> comments;
    const auto appendHere = [&](int ordinal, int g, const PageToWrite& page) {
        progress.step(ordinal, g, ConversionStep::Writing, path);
        // A page that cannot be written ends the conversion; the pages before it are kept.
        if (!writer_.append(page)) return false;
        if (options.copyComments) comments.push_back(commentFor(path, writer_.pagesWritten()));
        return true;
    };
    if (!options.writeOnSecondThread || !appendOnSecondThread(pages, path, progress, options.copyComments, comments, result))
        readPages(pages, path, progress, result, appendHere);
    const IndexState& index = table_.index();
    const auto copyComments = [&] {
        for (const PendingComment& c : comments) copyComment(c, overwrite);
    };
    // A book embeds its comment file when it is finished: the pages' comments go in first.
    const bool book = target.type == FileTypeCode::Book;
    if (!writer_.finish(index.inUse ? index.path : std::string(), book ? std::function<void()>(copyComments) : nullptr))
        return;
    if (!book) copyComments();
    written(path);
    result.files.push_back(path);
    result.pagesWritten = writer_.pagesWritten();
}

namespace {

constexpr const char* kOutOfMemoryText = "メモリー不足のため読み込めません";

// A short queue between the two threads; the reader waits while it is full.
template <typename Item>
class HandOver {
public:
    bool push(std::unique_ptr<Item> page) {
        std::unique_lock hold(lock_);
        changed_.wait(hold, [&] { return queue_.size() < kDepth || closed_; });
        if (closed_) return false;
        queue_.push_back(std::move(page));
        changed_.notify_all();
        return true;
    }
    std::unique_ptr<Item> pop() {
        std::unique_lock hold(lock_);
        changed_.wait(hold, [&] { return !queue_.empty() || closed_ || finished_; });
        if (queue_.empty()) return nullptr;
        auto page = std::move(queue_.front());
        queue_.pop_front();
        changed_.notify_all();
        return page;
    }
    void finish() {  // no more pages: the writer ends after the last
        const std::lock_guard hold(lock_);
        finished_ = true;
        changed_.notify_all();
    }
    void close() {  // the writer stopped: the reader stops too
        const std::lock_guard hold(lock_);
        closed_ = true;
        queue_.clear();
        changed_.notify_all();
    }

private:
    static constexpr size_t kDepth = 2;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Item>> queue_;
    bool finished_ = false;
    bool closed_ = false;
};

}  // namespace

// A page handed from the reading thread to the writing one: copies of the
// rasters, which the next page read replaces.
struct PageFileOperations::HandedPage {
    PageRaster shown;
    PageRaster asRead;
    PageWord word;
    std::string titleCp932;
    int ordinal = 0;
    int page = 0;
    PendingComment comment;  // where the page came from; its place in the file is known once written
};

void PageFileOperations::readPages(const std::vector<int>& pages, const std::string& path,
                                   ConversionProgress& progress, ConversionResult& result,
                                   const std::function<bool(int, int, const PageToWrite&)>& take) {
    int ordinal = 0;
    for (const int g : pages) {
        if (progress.cancelled()) {
            result.cancelled = true;
            return;
        }
        progress.step(++ordinal, g, ConversionStep::Reading, path);
        if (!doc_.goToPage(g)) continue;
        progress.step(ordinal, g, ConversionStep::Coding, path);
        const PageToWrite page = pageToWrite();
        if (!page.raster) continue;
        if (!take(ordinal, g, page)) return;
    }
}

bool PageFileOperations::appendOnSecondThread(const std::vector<int>& pages, const std::string& path,
                                              ConversionProgress& progress, bool copyComments,
                                              std::vector<PendingComment>& comments, ConversionResult& result) {
    HandOver<HandedPage> handOver;
    std::thread writer;
    try {
        writer = std::thread([&] {
            while (auto page = handOver.pop()) {
                progress.step(page->ordinal, page->page, ConversionStep::Writing, path);
                PageToWrite toWrite;
                toWrite.raster = &page->shown;
                toWrite.asRead = page->asRead.hasBits() ? &page->asRead : nullptr;
                toWrite.word = page->word;
                toWrite.titleCp932 = page->titleCp932;
                // A page that cannot be written ends the conversion; the pages before it are kept.
                if (!writer_.append(toWrite)) {
                    handOver.close();
                    return;
                }
                if (copyComments) {
                    page->comment.targetPage = writer_.pagesWritten();
                    comments.push_back(std::move(page->comment));
                }
            }
        });
    } catch (const std::system_error&) {
        return false;  // no second thread: the pages are written here
    }
    readPages(pages, path, progress, result, [&](int ordinal, int g, const PageToWrite& page) {
        auto handed = std::make_unique<HandedPage>();
        if (!PageRaster::copy(*page.raster, handed->shown) ||
            (page.asRead && page.asRead != page.raster && !PageRaster::copy(*page.asRead, handed->asRead))) {
            messages_.message(kOutOfMemoryText);
            return false;
        }
        handed->word = page.word;
        handed->titleCp932 = page.titleCp932;
        handed->ordinal = ordinal;
        handed->page = g;
        if (copyComments) handed->comment = commentFor(path, 0);
        return handOver.push(std::move(handed));
    });
    handOver.finish();
    writer.join();
    return true;
}

bool PageFileOperations::prepareBookInformation(const SaveTarget& target, const std::string& text) {
    IndexState& index = table_.index();
    if (!index.inUse) {
        const std::string name = target.nameGiven() ? target.name : files::fileNameOf(doc_.path());
        const size_t dot = name.rfind('.');
        if (!doc_.index().saveAs(files::joinPath(target.folder, name.substr(0, dot) + ".LPX"))) return false;
    }
    return CommentFile::write(index.path, 0, text, messages_);
}

bool PageFileOperations::convertEach(const SaveTarget& target, const std::string& label, const std::vector<int>& pages,
                                     const ConvertOptions& options, OverwritePolicy& overwrite,
                                     ConversionProgress& progress, const std::function<int()>& next,
                                     ConversionResult& result) {
    writer_.setOutCode(settings_.outCode);
    for (;;) {
        if (progress.cancelled()) {
            result.cancelled = true;
            return true;
        }
        const int place = next();
        if (place < 0 || size_t(place) >= pages.size()) return true;
        const int ordinal = place + 1;
        const int g = pages[size_t(place)];
        progress.step(ordinal, g, ConversionStep::Reading, label);
        if (!doc_.goToPage(g)) continue;
        progress.step(ordinal, g, ConversionStep::Writing, label);
        const int sequence = target.nameGiven() ? options.firstNumber + ordinal - 1 : 0;
        if (!writeOne(target, sequence, overwrite, options.copyComments, result, progress)) return false;
    }
}

std::optional<SaveTarget> PageFileOperations::fileEachTarget(const std::string& given, const ConvertOptions& options) {
    TargetProblem problem = TargetProblem::None;
    auto target = parseSaveTarget(given, problem);
    if (!target || options.oneFile || target->takesAllPages() || !target->nameGiven()) return std::nullopt;
    return target;
}

ConversionResult PageFileOperations::convertPages(bool selectedOnly, const std::string& given,
                                                  const ConvertOptions& options, OverwritePolicy& overwrite,
                                                  ConversionProgress& progress) {
    ConversionResult result;
    std::vector<int> pages;
    for (int g = 1; g <= table_.totalPages(); ++g)
        if (!selectedOnly || table_.word(g).has(PageWord::kSelected)) pages.push_back(g);
    if (pages.empty()) return result;
    TargetProblem problem = TargetProblem::None;
    const auto target = parseSaveTarget(given, problem);
    if (!target) {
        refuse(problem);
        return result;
    }
    const bool oneFile = options.oneFile || target->takesAllPages();
    if (oneFile && !target->holdsManyPages()) {
        refuse(TargetProblem::CannotSave);  // a bitmap or a fax file holds one page
        return result;
    }
    writer_.setOutCode(settings_.outCode);
    const int previous = table_.currentPage();
    progress.begin(int(pages.size()), given);
    if (oneFile) {
        convertIntoOne(*target, pages, options, overwrite, progress, result);
    } else {
        result.started = true;
        size_t next = 0;
        convertEach(*target, given, pages, options, overwrite, progress,
                    [&] { return next < pages.size() ? int(next++) : -1; }, result);
    }
    if (!table_.empty()) doc_.goToPage(previous);
    progress.end(result.pagesWritten);
    return result;
}

}  // namespace lumipage
