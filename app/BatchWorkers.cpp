#include "app/BatchWorkers.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/Messages.h"
#include "base/Settings.h"
#include "document/CLP98Doc.h"
#include "document/ConversionProgress.h"
#include "document/FilePageCounter.h"
#include "document/OpenFileTable.h"

namespace lumipage {

namespace {

constexpr int kMostWorkers = 64;

// A worker's messages: none while it opens its files, which the first
// document has already reported on.
class WorkerMessages : public Messages {
public:
    explicit WorkerMessages(Messages& to) : to_(to) {}
    void setQuiet(bool quiet) { quiet_ = quiet; }
    void message(const std::string& text) override {
        if (!quiet_) to_.message(text);
    }
    bool askOkCancel(const std::string& text) override { return to_.askOkCancel(text); }
    bool askYesNo(const std::string& text) override { return to_.askYesNo(text); }
    bool askRetryCancel(const std::string& text) override { return to_.askRetryCancel(text); }

private:
    Messages& to_;
    bool quiet_ = false;
};

class SharedProgress : public ConversionProgress {
public:
    SharedProgress(std::mutex& lock, ConversionProgress& to) : lock_(lock), to_(to) {}
    void step(int ordinal, int page, ConversionStep step, const std::string& target) override {
        const std::lock_guard hold(lock_);
        to_.step(ordinal, page, step, target);
    }
    bool cancelled() override {
        const std::lock_guard hold(lock_);
        return to_.cancelled();
    }
    void skipped(const std::string& path) override {
        const std::lock_guard hold(lock_);
        to_.skipped(path);
    }

private:
    std::mutex& lock_;
    ConversionProgress& to_;
};

// The pages, handed out in order to whichever worker asks first.
class PageClaims {
public:
    explicit PageClaims(int count) : count_(count) {}
    int next() {
        if (stopped_.load()) return -1;
        const int place = next_.fetch_add(1);
        return place < count_ ? place : -1;
    }
    void stop() { stopped_.store(true); }

private:
    const int count_;
    std::atomic<int> next_{0};
    std::atomic<bool> stopped_{false};
};

void addResult(ConversionResult& total, const ConversionResult& part) {
    total.cancelled = total.cancelled || part.cancelled;
    total.pagesWritten += part.pagesWritten;
    total.files.insert(total.files.end(), part.files.begin(), part.files.end());
}

}  // namespace

void LockedMessages::message(const std::string& text) {
    const std::lock_guard hold(lock_);
    to_.message(text);
}

bool LockedMessages::askOkCancel(const std::string& text) {
    const std::lock_guard hold(lock_);
    return to_.askOkCancel(text);
}

bool LockedMessages::askYesNo(const std::string& text) {
    const std::lock_guard hold(lock_);
    return to_.askYesNo(text);
}

bool LockedMessages::askRetryCancel(const std::string& text) {
    const std::lock_guard hold(lock_);
    return to_.askRetryCancel(text);
}

int batchWorkers(int pages) {
    int workers = int(std::thread::hardware_concurrency());
    if (const char* asked = std::getenv("LUMIPAGE_BATCH_WORKERS")) {
        char* end = nullptr;
        const long n = std::strtol(asked, &end, 10);
        if (end != asked && *end == '\0' && n >= 1) workers = int(std::min<long>(n, kMostWorkers));
    }
    return std::clamp(std::min(workers, pages), 1, kMostWorkers);
}

ConversionResult convertOnWorkers(const BatchJob& job, PageFileOperations& operations, int workers,
                                  LockedMessages& messages, ConversionProgress& progress) {
    const int total = job.pages;
    std::vector<int> pages(size_t(std::max(total, 0)));
    for (int g = 1; g <= total; ++g) pages[size_t(g - 1)] = g;

    std::mutex lock;
    SharedProgress sharedProgress(lock, progress);
    PageClaims claims(total);
    const auto next = [&claims] { return claims.next(); };
    ConversionResult result;
    result.started = true;

    const auto work = [&](PageFileOperations& ops) {
        FixedOverwritePolicy overwrite(job.overwrite);
        ConversionResult mine;
        if (!ops.convertEach(job.target, job.label, pages, job.options, overwrite, sharedProgress, next, mine))
            claims.stop();
        const std::lock_guard hold(lock);
        addResult(result, mine);
    };

    std::vector<std::thread> threads;
    for (int w = 1; w < workers; ++w) {
        try {
            threads.emplace_back([&] {
                WorkerMessages said(messages);
                said.setQuiet(true);
                Settings settings = job.settings;
                FilePageCounter counter(said);
                OpenFileTable table(counter);
                CLP98Doc doc(table, settings, job.request, said);
                job.openFiles(doc, said);
                said.setQuiet(false);
                // Files that changed since the first document counted them are
                // left to the workers that see them as they were.
                if (table.totalPages() != total) return;
                PageFileOperations ops(doc, settings, said);
                work(ops);
            });
        } catch (const std::system_error&) {
            break;  // no more threads to be had: fewer workers
        }
    }
    // The calling thread is a worker too.
    work(operations);
    for (std::thread& t : threads) t.join();
    return result;
}

}  // namespace lumipage
