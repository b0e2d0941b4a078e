#include "document/FilePageCounter.h"

#include "document/FileTypeCode.h"

namespace lumipage {

FileCount FilePageCounter::count(const std::string& path) {
    const auto source = makePageSource(fileTypeOf(path), stats_);
    return source ? source->count(path, messages_) : FileCount{};
}

std::vector<PageWord> FilePageCounter::storedPageWords(const std::string& path, int count) {
    const auto source = makePageSource(fileTypeOf(path), stats_);
    return source ? source->storedPageWords(path, count, messages_) : std::vector<PageWord>{};
}

}  // namespace lumipage
