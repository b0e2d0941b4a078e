#include "app/FrameRequests.h"

#include <algorithm>

#include "app/CommandIds.h"
#include "app/Settings.h"
#include "comments/FileKind.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "platform/FileSystem.h"
#include "view/CLP98View.h"
#include "view/PageNavigator.h"

namespace lumipage {

namespace {

using Kind = FrameRequest::Kind;

constexpr uint32_t kPathCodes = 256;  // codes below carry a path

int32_t readInt32(std::span<const uint8_t> data, size_t at) {
    return int32_t(uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
                   uint32_t(data[at + 3]) << 24);
}

bool knownPathAction(uint32_t action) { return action <= 4 || action == 15; }

}  // namespace

FrameRequest FrameRequest::decode(uint32_t code, std::span<const uint8_t> data) {
    FrameRequest r;
    const uint32_t low = code & 0xFFFF;
    if (low < kPathCodes) {
        const uint32_t action = low & 0x0F;
        if (!knownPathAction(action)) return r;
        if (!data.empty()) {
            const auto nul = std::find(data.begin(), data.end(), uint8_t(0));
            const size_t length = size_t(nul - data.begin());
            if (nul == data.end() || length >= kMaxPathBytes) {
                r.kind = Kind::Refused;
                return r;
            }
            r.path.assign(reinterpret_cast<const char*>(data.data()), length);
        }
        const int mode = int(low >> 4 & 0x0F);
        if (mode >= 1 && mode <= 3) r.sizeMode = mode;
        r.page = int(code >> 16);
        r.kind = Kind(action);
        return r;
    }
    size_t expected = 0;
    switch (low) {
        case 256: expected = kColourBytes; break;
        case 257: case 258: case 261: expected = 4; break;
        case 272: r.kind = Kind::PrintAll; return r;
        default: return r;
    }
    if (data.size() != expected) {
        r.kind = Kind::Refused;
        return r;
    }
    for (size_t i = 0; i < expected / 4; ++i) r.values[i] = readInt32(data, i * 4);
    r.kind = Kind(low);
    return r;
}

int FrameRequests::handle(uint32_t code, std::span<const uint8_t> data) {
    const FrameRequest r = FrameRequest::decode(code, data);
    if (r.kind == Kind::Refused || r.kind == Kind::NotHandled) return 0;
    if (r.sizeMode != 0) {
        sizeMode_ = r.sizeMode;
        view_.setFitMode(r.sizeMode);  // the size modes number as the fit modes do
    }
    const std::string path = r.path.empty() ? std::string() : files::absolutePath(r.path);
    switch (r.kind) {
        case Kind::CloseAll: return closeAll();
        case Kind::ClosePath: return closePath(path);
        case Kind::ReplaceByPath: return replaceByPath(path, r.page);
        case Kind::OpenPath: return openPath(path, r.page);
        case Kind::GoToPage: return goToPage(r.page);
        case Kind::ApplySizeMode: return applySizeMode(sizeMode_);
        case Kind::Colours: return takeColours(r.values);
        case Kind::AutoScroll: return takeAutoScroll(r.values[0]);
        case Kind::CatchScroll: return takeCatchScroll(r.values[0]);
        case Kind::ViewFlags: return takeViewFlags(r.values[0]);
        case Kind::PrintAll: return printAll();
        default: return 0;
    }
}

void FrameRequests::showChanges() {
    view_.ShowCurrentPage();
    if (window_.changed) window_.changed();
}

int FrameRequests::closeAll() {
    if (table_.totalPages() > 0) {
        document_.closeAll();
        showChanges();
    }
    return 1;
}

int FrameRequests::closePath(const std::string& path) {
    if (path.empty()) return 0;
    const int before = table_.fileCount();
    const bool indexInUse = table_.index().inUse && table_.index().path == path;
    document_.closePath(path);
    if (!indexInUse && table_.fileCount() == before) return 0;
    showChanges();
    return 1;
}

int FrameRequests::replaceByPath(const std::string& path, int page) {
    if (path.empty()) return 0;
    const bool open = table_.find(path) != 0;
    if (table_.totalPages() > 0 && fileKindOf(path) != FileKind::Index && (table_.fileCount() > 1 || !open)) {
        document_.closeAll();
        showChanges();
    }
    return openPath(path, page);
}

int FrameRequests::openPath(const std::string& path, int page) {
    if (path.empty()) return 0;
    const bool opened = document_.openPath(path, page);
    showChanges();
    return opened ? 1 : 0;
}

// A page beyond the last shows the last page, but the answer says the
// asked page is not the one shown.
int FrameRequests::goToPage(int page) {
    if (table_.empty()) return 0;
    const int target = page == 0 ? navigator_.currentPage() : page;
    navigator_.goToPage(target);
    return navigator_.currentPage() == target ? 1 : 0;
}

int FrameRequests::applySizeMode(int mode) {
    static constexpr int kCommands[] = {0, command::kFitWholePage, command::kFitPageWidth,
                                        command::kFitTwicePageWidth};
    if (mode >= 1 && mode <= 3 && window_.postCommand) window_.postCommand(kCommands[mode]);
    return 1;
}

int FrameRequests::takeColours(const std::array<int32_t, 8>& v) {
    if (window_.colourDialogOpen && window_.colourDialogOpen()) return 0;
    settings_.paperColor = v[0];
    settings_.paperColorMode = v[1];
    settings_.bright = v[2];
    settings_.contrast = v[3];
    settings_.inkColor = v[4];
    settings_.inkColorMode = v[5];
    settings_.adjustGamma = v[6];
    settings_.fastUpdate = v[7];
    view_.RefreshColours();
    return 1;
}

int FrameRequests::takeAutoScroll(int value) {
    settings_.autoScroll = value;
    return 1;
}

int FrameRequests::takeCatchScroll(int value) {
    settings_.catchScroll = value;
    return 1;
}

int FrameRequests::takeViewFlags(int value) {
    settings_.setViewFlags(value);
    view_.setCentring(settings_.viewCenter != 0);
    if (window_.changed) window_.changed();
    return 1;
}

int FrameRequests::printAll() {
    if (table_.totalPages() > 0 && window_.postCommand) window_.postCommand(command::kPrintAll);
    return 1;
}

}  // namespace lumipage
