#include "app/BatchMode.h"

#include <unistd.h>

#include <string>
#include <vector>

#include "app/BatchWorkers.h"
#include "app/CommandLine.h"
#include "base/Messages.h"
#include "base/Settings.h"
#include "platform/IniSettingsStore.h"
#include "comments/FileKind.h"
#include "document/CLP98Doc.h"
#include "document/ConversionProgress.h"
#include "document/FilePageCounter.h"
#include "document/OpenFileTable.h"
#include "document/PageFileOperations.h"
#include "platform/AppFolders.h"
#include "platform/FileSystem.h"

namespace lumipage {

namespace {

constexpr const char* kNotReplaced = ": 既に存在するため書き込みません";
constexpr const char* kNoPages = "変換する頁がありません";

// Progress lines on a terminal: one line rewritten per step.
class StreamProgress : public ConversionProgress {
public:
    StreamProgress(std::FILE* out, Messages& messages) : out_(out), messages_(messages) {}
    void begin(int pages, const std::string&) override { pages_ = pages; }
    void step(int ordinal, int page, ConversionStep step, const std::string& target) override {
        if (out_)
            std::fprintf(out_, "\r%d/%d  %d  %s  %s\033[K", ordinal, pages_, page, target.c_str(), stepText(step));
    }
    void skipped(const std::string& path) override {
        if (out_) std::fputc('\n', out_);
        messages_.message(path + kNotReplaced);
    }
    void end(int) override {
        if (out_) std::fputc('\n', out_);
    }

private:
    std::FILE* out_;
    Messages& messages_;
    int pages_ = 0;
};

void addFiles(const StartupRequest& request, CLP98Doc& doc, Messages& messages) {
    for (const std::string& name : request.files) {
        // An index file brings the files it lists.
        if (fileKindOf(name) == FileKind::Index) {
            doc.index().read(files::absolutePath(name), true);
            continue;
        }
        if (doc.addByName(name) > 0) continue;
        // A file that is there but gives no page is of a kind that cannot be read.
        const std::string path = files::absolutePath(name);
        if (files::exists(path) && !files::isDirectory(path)) messages.message(path + "\n" + kUnsupportedFileType);
    }
    OpenFileTable& table = doc.table();
    if (request.sortFiles && table.fileCount() > 1) table.sortEntries(1, table.fileCount());
}

}  // namespace

int runBatch(const StartupRequest& request, Settings& settings, Messages& out, std::FILE* progressOut) {
    if (!request.convertTarget) return 1;
    // Pages may be converted on several threads; they speak one at a time.
    LockedMessages messages(out);
    FilePageCounter counter(messages);
    OpenFileTable table(counter);
    CLP98Doc doc(table, settings, request, messages);
    addFiles(request, doc, messages);
    if (table.empty() || !doc.goToPage(1)) {
        messages.message(kNoPages);
        return 1;
    }
    PageFileOperations operations(doc, settings, messages);
    ConvertOptions options;
    options.oneFile = request.oneFile;
    options.firstNumber = conversionFirstNumber(request);
    options.pageStartPosition = settings.pageStartPosition;
    const OverwriteOptions neverReplace{};
    StreamProgress progress(progressOut, messages);
    const int workers = batchWorkers(table.totalPages());
    // A file for every page, numbered: the pages are shared among workers.
    const auto fileEach = PageFileOperations::fileEachTarget(*request.convertTarget, options);
    if (fileEach && workers > 1) {
        const auto openFiles = [&request](CLP98Doc& d, Messages& m) { addFiles(request, d, m); };
        const BatchJob job{request, settings, openFiles, table.totalPages(), *fileEach,
                           *request.convertTarget, options, neverReplace};
        progress.begin(job.pages, job.label);
        const ConversionResult result = convertOnWorkers(job, operations, workers, messages, progress);
        progress.end(result.pagesWritten);
        return result.pagesWritten > 0 ? 0 : 1;
    }
    // All pages into one file: the next page is read while one is coded.
    options.writeOnSecondThread = workers > 1;
    FixedOverwritePolicy overwrite(neverReplace);
    const ConversionResult result = operations.convertPages(false, *request.convertTarget, options, overwrite, progress);
    return result.pagesWritten > 0 ? 0 : 1;
}

std::optional<int> runBatchFromCommandLine(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    Settings scratch;
    const StartupRequest first = parseCommandLine(args, scratch);
    // Faxing all pages comes before converting when both are asked for.
    if (!first.convertTarget || first.faxAll) return std::nullopt;
    // Settings as stored, then the switches over them, as at every start.
    const AppFolders folders = AppFolders::find();
    Settings settings;
    IniSettingsStore store(first.store == StartupRequest::Store::Ini ? folders.iniStorePath()
                                                                  : folders.defaultStorePath());
    store.load();
    settings.load(store, folders.currentFolder, folders.dataFolder, files::isDirectory);
    const StartupRequest request = parseCommandLine(args, settings);
    StderrMessages messages;
    return runBatch(request, settings, messages, ::isatty(STDERR_FILENO) ? stderr : nullptr);
}

}  // namespace lumipage
