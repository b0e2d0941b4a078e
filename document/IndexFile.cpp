#include "document/IndexFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>
#include <vector>

#include "base/StartupRequest.h"
#include "base/Messages.h"
#include "base/Settings.h"
#include "comments/FileKind.h"
#include "document/CLP98Doc.h"
#include "platform/Cp932Text.h"
#include "document/DocumentObserver.h"
#include "document/OpenFileTable.h"
#include "document/PageTitle.h"
#include "platform/AtomicFile.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace lumipage {

namespace {

enum Section { Skipped = -1, DataFiles = 0, Head = 1, SelectedPages = 2, CurrentPage = 3 };

constexpr std::string_view kDataFiles = "<DataFiles>";
constexpr std::string_view kSelectedPage = "<SelectedPage>";
constexpr std::string_view kCurrentPage = "<CurrentPage>";
constexpr std::string_view kPageItem = "<Page:";
constexpr std::string_view kFileName = "FileName:";
constexpr std::string_view kPageStartPosition = "PageStartPosition:";
constexpr size_t kVersionAt = 14;  // in the first line without its brackets: "LumipageIndex " then the version

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The decimal number at the start of `s` (blanks skipped), or nothing.
std::optional<int> decimal(std::string_view s) {
    s = trim(s);
    int value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end == s.data()) return std::nullopt;
    return value;
}

bool hasIndexExtension(std::string_view path) { return fileKindOf(path) == FileKind::Index; }

// A path as an index file names it: "\" separates too, and a relative name
// is relative to the index's folder. A drive-letter path written on another
// machine is kept as it is, naming a file that does not exist here.
std::string resolvedPath(std::string path, const std::string& folder) {
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.starts_with('/')) return files::absolutePath(path);
    if (path.size() >= 2 && std::isalpha(uint8_t(path[0])) && path[1] == ':') return path;
    return files::absolutePath(files::joinPath(folder, path));
}

}  // namespace

struct IndexFile::Reading {
    bool merge = false;
    int depth = 0;
    std::string folder;
    int section = Head;
    int currentPage = 0;
    std::vector<std::string>* open = nullptr;
    std::vector<int> selected;  // the index files being read, outermost first
};

IndexFile::IndexFile(OpenFileTable& table, CLP98Doc& document, Settings& settings, const StartupRequest& startup,
                     Messages& messages, DocumentObserver* observer)
    : table_(table),
      document_(document),
      settings_(settings),
      startup_(startup),
      messages_(messages),
      observer_(observer) {}

bool IndexFile::read(const std::string& given, bool merge, int page) {
    const std::string path = files::absolutePath(given);
    if (!files::exists(path) || files::isDirectory(path)) return false;
    if (!merge) {
        const bool readOnly = files::isReadOnly(path);
        document_.closeAll();
        IndexState& index = table_.index();
        index.inUse = true;
        index.path = path;
        index.folder = files::folderOf(path);
        index.name = files::fileNameOf(path);
        index.displayName = index.name;
        index.writeProtected = readOnly || index.name == kViewStateName;
        index.pageStartBefore = settings_.pageStartPosition;
        if (observer_) observer_->indexChanged();
    }
    std::vector<std::string> open{path};
    Reading reading{merge, 0, files::folderOf(path), Head, 0, &open, {}};
    if (!readFile(path, reading)) {
        if (!merge) forget();
        return false;
    }
    if (!merge) {
        table_.selectPages(reading.selected);
        table_.setListChanged(false);
        table_.setSelectionChanged(false);
    }
    table_.recount();
    if (table_.empty()) {
        if (!merge) forget();
        return false;
    }
    if (!merge) {
        const int shown = page > 0 ? page
                          : reading.currentPage > 0 ? std::min(reading.currentPage, table_.totalPages())
                                                    : table_.firstPageOf(table_.currentFile());
        document_.goToPage(shown);
    }
    if (observer_) {
        if (document_.isLoaded()) observer_->removeRecentFile(document_.path());
        if (path.find(kViewStateName) == std::string::npos) observer_->addRecentFile(path);
    }
    return true;
}

bool IndexFile::readFile(const std::string& path, Reading& reading) {
    std::vector<uint8_t> bytes;
    if (!File::readAll(path, bytes)) return false;
    std::string_view rest(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    bool first = true;
    while (!rest.empty()) {
        const size_t lf = rest.find('\n');
        std::string_view raw = rest.substr(0, lf);
        rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        const std::string text = text::fromCp932(trim(raw));
        const std::string_view line = trim(text);
        if (!first) {
            readLine(line, reading);
            continue;
        }
        first = false;
        if (line.find(kMagic) == std::string_view::npos) return false;
        // The version is compared as text: "2.10" is newer than "2.1", "2.0" older.
        const std::string_view inner = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view();
        const std::string_view version = inner.size() > kVersionAt ? inner.substr(kVersionAt) : std::string_view();
        if (version > kVersion) {
            messages_.message(kNewerVersion);
            return false;
        }
    }
    return !first;
}

void IndexFile::readLine(std::string_view line, Reading& reading) {
    const size_t k = line.find('<');
    int pages = 0;
    if (k != std::string_view::npos && k >= 2) {
        const size_t item = line.find(kPageItem, k);
        if (item != std::string_view::npos) pages = std::max(0, decimal(line.substr(item + kPageItem.size())).value_or(0));
        line = trim(line.substr(0, k));
    }
    if (line.empty()) return;
    if (k == 0) {
        reading.section = line.find(kDataFiles) != std::string_view::npos      ? DataFiles
                          : line.find(kSelectedPage) != std::string_view::npos ? SelectedPages
                          : line.find(kCurrentPage) != std::string_view::npos  ? CurrentPage
                                                                               : Skipped;
        return;
    }
    if (reading.section == DataFiles) return readDataFile(line, pages, reading);
    if (reading.merge) return;  // a listed index brings its files, not its name, selection or page
    if (reading.section == Head) {
        if (line.starts_with(kPageStartPosition)) {
            if (const auto value = decimal(line.substr(kPageStartPosition.size()))) settings_.pageStartPosition = *value;
        } else if (line.starts_with(kFileName)) {
            table_.index().displayName = std::string(line.substr(kFileName.size()));
        }
    } else if (reading.section == SelectedPages) {
        while (!line.empty()) {
            const size_t comma = line.find(',');
            const auto page = decimal(line.substr(0, comma));
            if (page) reading.selected.push_back(*page);
            line = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
        }
    } else if (reading.section == CurrentPage) {
        reading.currentPage = decimal(line).value_or(0);
    }
}

void IndexFile::readDataFile(std::string_view line, int pages, Reading& reading) {
    if (table_.fileCount() >= OpenFileTable::kMaxFiles) return;
    const std::string path = resolvedPath(std::string(line), reading.folder);
    const FileKind kind = fileKindOf(path);
    if (!isListable(kind)) return;
    if (kind != FileKind::Index) {
        table_.append(path, pages, OpenFileTable::StoredWords::Ignore);
        return;
    }
    // An index that lists itself, or one that lists it back, is not read again.
    std::vector<std::string>& open = *reading.open;
    if (reading.depth >= kMaxNesting || std::find(open.begin(), open.end(), path) != open.end()) return;
    open.push_back(path);
    Reading nested{true, reading.depth + 1, files::folderOf(path), Head, 0, reading.open, {}};
    readFile(path, nested);
    open.pop_back();
}

std::string IndexFile::storedPath(const std::string& path, const std::string& folder) const {
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    return path.starts_with(prefix) && path.size() > prefix.size() ? path.substr(prefix.size()) : path;
}

bool IndexFile::write(const std::string& given, const std::optional<std::string>& displayName, bool withCurrentPage) {
    if (!hasIndexExtension(given)) {
        messages_.message(kBadExtension);
        return false;
    }
    const std::string path = files::absolutePath(given);
    const std::string folder = files::folderOf(path);
    std::vector<std::string> lines{"<LumipageIndex " + std::string(kVersion) + ">"};
    if (displayName) lines.push_back(std::string(kFileName) + *displayName);
    lines.push_back(std::string(kPageStartPosition) + std::to_string(settings_.pageStartPosition));
    lines.emplace_back(kDataFiles);
    for (int i = 1; i <= table_.fileCount(); ++i) {
        const OpenFileEntry& e = table_.entry(i);
        std::string line = storedPath(e.path, folder);
        if (settings_.addPageToIndex == 1) line += "  <Page:" + std::to_string(e.pages) + ">";
        if (settings_.addTitleToIndex == 1) {
            const std::string title = pageTitle(e.path, e.pages == 1 ? 0 : 1);
            if (!title.empty()) line += "  <Title:" + title + ">";
        }
        lines.push_back(std::move(line));
    }
    if (table_.counts().selected > 0) {
        lines.emplace_back(kSelectedPage);
        std::string numbers;
        int onLine = 0;
        const auto words = table_.words();
        for (size_t i = 0; i < words.size(); ++i) {
            if (!words[i].has(PageWord::kSelected)) continue;
            numbers += (onLine == 0 ? "" : ",") + std::to_string(i + 1);
            if (++onLine == kSelectedPerLine) {
                lines.push_back(std::exchange(numbers, {}));
                onLine = 0;
            }
        }
        if (!numbers.empty()) lines.push_back(std::move(numbers));
    }
    if (withCurrentPage) {
        lines.emplace_back(kCurrentPage);
        lines.push_back(std::to_string(table_.currentPage()));
    }
    std::string out;
    for (const std::string& line : lines) {
        const auto encoded = cp932::encodeOrSay(line, path, messages_);
        if (!encoded) return false;  // nothing written: the old index stays as it was
        out += *encoded;
        out += "\r\n";
    }
    if (!writeFileAtomically(path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(out.data()), out.size())))
        return false;
    table_.setListChanged(false);
    table_.setSelectionChanged(false);
    if (observer_) observer_->fileWritten(path);
    return true;
}

void IndexFile::savePrompt() {
    const IndexState& index = table_.index();
    if (!index.inUse || startup_.noSave || !files::exists(index.path) || files::isReadOnly(index.path)) return;
    std::string question;
    if (table_.listChanged()) question = index.path + kListChanged;
    else if (table_.selectionChanged()) question = index.path + kSelectionChanged;
    else return;
    if (messages_.askYesNo(question)) write(index.path, std::nullopt, false);
}

void IndexFile::forget() {
    table_.index().forget();
    table_.setListChanged(false);
    table_.setSelectionChanged(false);
    if (observer_) observer_->indexChanged();
}

std::string IndexFile::saveCommandText() const {
    const IndexState& index = table_.index();
    if (!index.inUse) return "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ作成...";
    if (index.writeProtected) return "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ保存(保護)";
    if (table_.listChanged() || table_.selectionChanged()) return "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ保存(変更有)...";
    return "ｲﾝﾃﾞｯｸｽﾌｧｲﾙ保存...";
}

bool IndexFile::saveCommandEnabled() const {
    const IndexState& index = table_.index();
    return table_.fileCount() >= 1 && !(index.inUse && index.writeProtected);
}

std::string IndexFile::suggestedName() const {
    if (table_.index().inUse) return table_.index().path;
    if (table_.empty()) return {};
    const std::string& first = table_.entry(1).path;
    const std::string name = files::fileNameOf(first);
    const size_t dot = name.rfind('.');
    return files::joinPath(files::folderOf(first), name.substr(0, dot) + ".LPX");
}

bool IndexFile::saveAs(const std::string& given) {
    if (!write(given, std::nullopt, false)) return false;
    const std::string path = files::absolutePath(given);
    IndexState& index = table_.index();
    if (!index.inUse) index.pageStartBefore = settings_.pageStartPosition;
    index.inUse = true;
    index.path = path;
    index.folder = files::folderOf(path);
    index.name = files::fileNameOf(path);
    index.displayName = index.name;
    index.writeProtected = false;
    settings_.savePath = index.folder;
    if (observer_) observer_->indexChanged();
    return true;
}

}  // namespace lumipage
