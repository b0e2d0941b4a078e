#include "app/InstanceRequestHandler.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "base/CommandIds.h"
#include "app/FrameRequest.h"
#include "base/Settings.h"
#include "comments/FileKind.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace lumipage {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The data files an index file lists in its "<DataFiles>" section, resolved
// as the index reader resolves them; items after the path are dropped.
std::vector<std::string> listedDataFiles(const std::string& indexPath) {
    std::vector<std::string> paths;
    std::vector<uint8_t> bytes;
    if (!File::readAll(indexPath, bytes)) return paths;
    const std::string folder = files::folderOf(indexPath);
    std::string_view rest(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    bool inDataFiles = false;
    while (!rest.empty()) {
        const size_t lf = rest.find('\n');
        const std::string text = text::fromCp932(trim(rest.substr(0, lf)));
        rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
        std::string_view line = trim(text);
        if (!line.empty() && line.back() == '\r') line = trim(line.substr(0, line.size() - 1));
        const size_t item = line.find('<');
        if (item == 0) {
            inDataFiles = line.find("<DataFiles>") != std::string_view::npos;
            continue;
        }
        if (item != std::string_view::npos) line = trim(line.substr(0, item));
        if (!inDataFiles || line.empty()) continue;
        std::string path(line);
        std::replace(path.begin(), path.end(), '\\', '/');
        paths.push_back(files::absolutePath(path.starts_with('/') ? path : files::joinPath(folder, path)));
    }
    return paths;
}

int32_t result(bool ok) { return ok ? 1 : 0; }

}  // namespace

std::string InstanceRequestHandler::windowTitle() { return frame_.windowTitle(); }
void InstanceRequestHandler::closeWindow() { frame_.closeWindow(); }

int32_t InstanceRequestHandler::handleRequest(int32_t code, std::span<const uint8_t> data) {
    using Kind = FrameRequest::Kind;
    const FrameRequest r = FrameRequest::decode(uint32_t(code), data);
    if (r.kind == Kind::Refused || r.kind == Kind::NotHandled) return 0;
    if (r.sizeMode != 0) frame_.setSizeMode(r.sizeMode);
    const OpenFileTable& table = document_.table();
    switch (r.kind) {
        case Kind::CloseAll:
        case Kind::ClosePath:
        case Kind::ReplaceByPath:
        case Kind::OpenPath:
        case Kind::GoToPage: {
            const int32_t answer = pageRequest(r);
            frame_.pagesChanged();
            return answer;
        }
        case Kind::ApplySizeMode: {
            static constexpr std::array<int, 3> kCommands{command::kFitWholePage, command::kFitPageWidth,
                                                          command::kFitTwicePageWidth};
            const int mode = frame_.sizeMode();
            if (mode >= 1 && mode <= 3) frame_.runCommand(kCommands[size_t(mode - 1)]);
            return 1;
        }
        case Kind::Colours: return colours(r.values);
        case Kind::AutoScroll:
        case Kind::CatchScroll:
        case Kind::ViewFlags: return integerSetting(r.kind, r.values[0]);
        case Kind::PrintAll:
            if (!table.empty()) frame_.postCommand(command::kPrintAll);
            return 1;
        default: return 0;
    }
}

int32_t InstanceRequestHandler::pageRequest(const FrameRequest& r) {
    using Kind = FrameRequest::Kind;
    const std::optional<std::string> path =
        r.path.empty() ? std::nullopt : std::optional(files::absolutePath(r.path));
    const OpenFileTable& table = document_.table();
    switch (r.kind) {
        case Kind::CloseAll:
            if (!table.empty()) document_.closeAll();
            return 1;
        case Kind::ClosePath: return path ? closePath(*path) : 0;
        case Kind::ReplaceByPath:
            if (!path) return 0;
            if (!table.empty() && fileKindOf(*path) != FileKind::Index &&
                (table.fileCount() > 1 || table.find(*path) == 0))
                document_.closeAll();
            return openPath(*path, r.page);
        case Kind::OpenPath: return path ? openPath(*path, r.page) : 0;
        case Kind::GoToPage: return goToPage(r.page);
        default: return 0;
    }
}

int32_t InstanceRequestHandler::closePath(const std::string& path) {
    const OpenFileTable& table = document_.table();
    const int before = table.fileCount();
    const IndexState& index = table.index();
    if (fileKindOf(path) == FileKind::Index && !(index.inUse && index.path == path)) {
        if (table.empty()) return 0;
        for (const std::string& listed : listedDataFiles(path)) document_.closePath(listed);
    } else {
        document_.closePath(path);
    }
    return result(table.fileCount() < before);
}

int32_t InstanceRequestHandler::openPath(const std::string& path, int page) {
    return result(document_.openPath(path, page));
}

int32_t InstanceRequestHandler::goToPage(int page) {
    const OpenFileTable& table = document_.table();
    if (table.empty()) return 0;
    if (page == 0) return 1;  // page 0 is the current page
    // A page beyond the last shows the last page but is not reported as shown.
    const bool shown = document_.goToPage(page);
    return result(shown && table.currentPage() == page);
}

int32_t InstanceRequestHandler::colours(const std::array<int32_t, 8>& v) {
    if (frame_.colourDialogOpen()) return 0;
    settings_.paperColor = v[0];
    settings_.paperColorMode = v[1];
    settings_.bright = v[2];
    settings_.contrast = v[3];
    settings_.inkColor = v[4];
    settings_.inkColorMode = v[5];
    settings_.adjustGamma = v[6];
    settings_.fastUpdate = v[7];
    frame_.coloursChanged();
    return 1;
}

int32_t InstanceRequestHandler::integerSetting(FrameRequest::Kind kind, int32_t value) {
    using Kind = FrameRequest::Kind;
    if (kind == Kind::AutoScroll) settings_.autoScroll = value;
    if (kind == Kind::CatchScroll) settings_.catchScroll = value;
    if (kind == Kind::ViewFlags) {
        settings_.setViewFlags(value);
        frame_.viewFlagsChanged();
    } else {
        frame_.scrollingChanged();
    }
    return 1;
}

}  // namespace lumipage
