#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/CommandIds.h"
#include "document/OverwritePolicy.h"
#include "document/SaveTarget.h"
#include "document/TargetWriter.h"
#include "image/PageOrientation.h"

namespace lumipage {

class CLP98Doc;
class ConversionProgress;
class DocumentObserver;
class FileEditor;
class Messages;
class OpenFileTable;
struct Settings;

// The choices of the conversion dialog (or of the command line).
struct ConvertOptions {
    bool oneFile = false;      // all pages into one file
    bool copyComments = true;
    int firstNumber = 1;       // numbering of files with a given name starts here ("#" number)
    int pageStartPosition = 1; // a book's page start position
    // All pages into one file: pages are coded and written on a second
    // thread while the next is read (the batch conversion; its messages
    // must then be safe to say from another thread).
    bool writeOnSecondThread = false;
    // A book's information text: the comment of the index file in use, which
    // the book takes; without an index in use, one named after the book is
    // written first and becomes the index in use.
    std::optional<std::string> bookInformation;
};

struct ConversionResult {
    bool started = false;               // the target was accepted and writing began
    bool cancelled = false;
    std::vector<std::string> files;     // every file written, in order
    int pagesWritten = 0;
};

// The commands of this class, by their command identifiers.
enum class PageFileCommand : int {
    SaveCurrent = command::kSaveCurrentFile,
    ConvertSelected = command::kConvertSelected,
    ConvertAll = command::kConvertAll,
    EditCurrent = command::kEditCurrentFile,
    DeleteSent = command::kDeleteSentFiles,
    DeletePrinted = command::kDeletePrintedFiles,
    DeleteCurrent = command::kDeleteCurrentFile,
    DeleteSelected = command::kDeleteSelectedFiles,
    DeleteAll = command::kDeleteAllFiles,
};
// The page file command a command identifier names, if it names one.
std::optional<PageFileCommand> pageFileCommandOf(int id);

// Which files the delete commands remove.
enum class DeleteScope { Sent, Printed, Current, Selected, All };

inline constexpr const char* kNothingToSave = "保存するデータがありません";
inline constexpr const char* kWrongExtension = "ファイル名の拡張子が不適切です";

// Saving the current page, converting selected or all pages into other
// files, deleting the files behind pages, and editing the current page's
// file in another program. The page list, the document and the comment
// files are kept in step with what was written or deleted.
class PageFileOperations {
public:
    PageFileOperations(CLP98Doc& doc, Settings& settings, Messages& messages, DocumentObserver* observer = nullptr);

    // The update handler: whether the command can be chosen now.
    bool enabled(PageFileCommand command, FileEditor& editor) const;

    // Writes the current page as shown (turned, mirrored, inverted) to `target`.
    bool saveCurrentPage(const std::string& target, OverwritePolicy& overwrite, bool copyComments = true);
    ConversionResult convertPages(bool selectedOnly, const std::string& target, const ConvertOptions& options,
                                  OverwritePolicy& overwrite, ConversionProgress& progress);

    // The pages whose places (0-based) in `pages` `next` hands out, until it
    // gives -1, each into a file of its own, as convertPages writes them;
    // `label` names the target in the progress. Several documents over the
    // same files can share the pages this way (the batch conversion's
    // workers). False when a page could not be written; the pages written
    // are in `result`.
    bool convertEach(const SaveTarget& target, const std::string& label, const std::vector<int>& pages,
                     const ConvertOptions& options, OverwritePolicy& overwrite, ConversionProgress& progress,
                     const std::function<int()>& next, ConversionResult& result);
    // The target when `given` makes a file of every page, numbered from the
    // name given, so that no two pages can meet in one file name; else nothing.
    static std::optional<SaveTarget> fileEachTarget(const std::string& given, const ConvertOptions& options);

    static std::string deleteQuestion(DeleteScope scope, const std::string& currentPath);
    // Asks with the scope's question; on OK deletes the files and their comment
    // files and closes them. Returns how many files were deleted.
    int deleteFiles(DeleteScope scope);
    // The same without the question, as the end of a conversion offers it for the sources.
    int deleteMarked(DeleteScope scope);
    // Closes every open file and opens the files a conversion wrote instead.
    bool openWritten(const ConversionResult& result);

    bool canEditCurrent(FileEditor& editor) const;
    // Waits for the editor; afterwards a removed file is closed and a changed one shown again.
    bool editCurrent(FileEditor& editor);
    bool editing() const { return editing_; }

private:
    struct PendingComment {
        std::string source;
        int filePages = 1;
        int pageInFile = 1;
        std::string title;
        std::string target;
        int targetPage = 0;
    };

    bool refuse(TargetProblem problem);
    PageOrigin currentOrigin() const;
    bool fromColourBitmap() const;
    // The current page as shown; null when none is loaded.
    const PageRaster* shownPage();
    PageToWrite pageToWrite();
    PendingComment commentFor(const std::string& target, int targetPage) const;
    void copyComment(const PendingComment& comment, OverwritePolicy& overwrite);
    void written(const std::string& path);
    bool writeOne(const SaveTarget& target, int sequence, OverwritePolicy& overwrite, bool copyComments,
                  ConversionResult& result, ConversionProgress& progress);
    void convertIntoOne(const SaveTarget& target, const std::vector<int>& pages, const ConvertOptions& options,
                        OverwritePolicy& overwrite, ConversionProgress& progress, ConversionResult& result);
    // Reads the pages in turn and hands each one shown to `take(ordinal,
    // page, shown)`; stops when `take` says false or the user cancels.
    void readPages(const std::vector<int>& pages, const std::string& path, ConversionProgress& progress,
                   ConversionResult& result, const std::function<bool(int, int, const PageToWrite&)>& take);
    struct HandedPage;
    // The pages read here, coded and appended by a second thread; the
    // comments of the pages appended, in order. False, with nothing done,
    // when no second thread could be started.
    bool appendOnSecondThread(const std::vector<int>& pages, const std::string& path, ConversionProgress& progress,
                              bool copyComments, std::vector<PendingComment>& comments, ConversionResult& result);
    bool deleteEntry(int index);
    bool prepareBookInformation(const SaveTarget& target, const std::string& text);
    void showAfterDeletion();

    CLP98Doc& doc_;
    OpenFileTable& table_;
    Settings& settings_;
    Messages& messages_;
    DocumentObserver* observer_;
    TargetWriter writer_;
    PageOrientation orientation_;
    bool editing_ = false;
};

}  // namespace lumipage
