#pragma once
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "base/Messages.h"
#include "base/Settings.h"
#include "document/OverwritePolicy.h"
#include "document/PageFileOperations.h"

namespace lumipage {

class CLP98Doc;
class ConversionProgress;
struct StartupRequest;

// How many workers a batch conversion of `pages` pages uses: the number in
// LUMIPAGE_BATCH_WORKERS when it is set (1 or more), else the number of
// cores; never more than the pages.
int batchWorkers(int pages);

// Messages of several threads passed on one at a time.
class LockedMessages : public Messages {
public:
    explicit LockedMessages(Messages& to) : to_(to) {}
    void message(const std::string& text) override;
    bool askOkCancel(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    bool askRetryCancel(const std::string& text) override;

private:
    std::mutex lock_;
    Messages& to_;
};

// What the batch conversion's workers share.
struct BatchJob {
    const StartupRequest& request;
    Settings settings;  // as the conversion starts; every worker takes a copy
    // Opens the files of the conversion into a document, as the first one was.
    std::function<void(CLP98Doc&, Messages&)> openFiles;
    int pages = 0;  // in the first document
    SaveTarget target;
    std::string label;  // the target as given, for the progress
    ConvertOptions options;
    OverwriteOptions overwrite;
};

// Converts every page of `operations`' document into a file of its own on
// `workers` threads: the calling thread with that document, and every other
// worker with a document of its own over the same files (its own readers,
// codecs and writers). Each page is written exactly as one worker would
// write it, since each page's file depends on that page alone. `messages`
// is where the first document speaks too; progress reaches `progress` one
// step at a time. After a page that cannot be written no worker starts
// another.
ConversionResult convertOnWorkers(const BatchJob& job, PageFileOperations& operations, int workers,
                                  LockedMessages& messages, ConversionProgress& progress);

}  // namespace lumipage
