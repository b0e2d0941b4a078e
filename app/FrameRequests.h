#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace lumipage {

class CLP98Doc;
class CLP98View;
class OpenFileTable;
class PageNavigator;
struct Settings;

// A request from another running copy of the program, checked and taken
// apart. The code's low 16 bits choose the request; for codes below 256
// bits 4-7 may carry a size mode, the low 4 bits the action and the high
// 16 bits a page number, and the data is a NUL-terminated path.
struct FrameRequest {
    enum class Kind {
        CloseAll = 0, ClosePath = 1, ReplaceByPath = 2, OpenPath = 3, GoToPage = 4, ApplySizeMode = 15,
        Colours = 256, AutoScroll = 257, CatchScroll = 258, ViewFlags = 261, PrintAll = 272,
        Refused,     // malformed: nothing happens and the answer is 0
        NotHandled,  // an unknown code: the answer is 0
    };
    static constexpr size_t kMaxPathBytes = 4096;  // PATH_MAX, NUL included
    static constexpr size_t kColourBytes = 32;

    Kind kind = Kind::NotHandled;
    int sizeMode = 0;  // 1 whole page, 2 standard, 3 double; 0 none given
    int page = 0;
    std::string path;  // as sent; empty when no data came
    std::array<int32_t, 8> values{};  // the integers of codes 256 and above

    static FrameRequest decode(uint32_t code, std::span<const uint8_t> data);
};

// Carries out the requests of other running copies on this copy's page
// list and view, and gives the answer the sender receives.
class FrameRequests {
public:
    struct Window {
        // The colour adjustment dialog refuses new colours while it is open.
        std::function<bool()> colourDialogOpen;
        // A command for the window to run when it is idle.
        std::function<void(int id)> postCommand;
        // The page list or the page shown changed.
        std::function<void()> changed;
    };

    FrameRequests(CLP98Doc& document, OpenFileTable& table, PageNavigator& navigator, CLP98View& view,
                  Settings& settings, Window window)
        : document_(document), table_(table), navigator_(navigator), view_(view), settings_(settings),
          window_(std::move(window)) {}

    int handle(uint32_t code, std::span<const uint8_t> data);
    void setSizeMode(int mode) { sizeMode_ = mode; }

    // One method per request, as the transport or the window may call them.
    int closeAll();
    int closePath(const std::string& path);
    int replaceByPath(const std::string& path, int page);
    int openPath(const std::string& path, int page);
    int goToPage(int page);
    int applySizeMode(int mode);
    int takeColours(const std::array<int32_t, 8>& values);
    int takeAutoScroll(int value);
    int takeCatchScroll(int value);
    int takeViewFlags(int value);
    int printAll();

private:
    void showChanges();

    CLP98Doc& document_;
    OpenFileTable& table_;
    PageNavigator& navigator_;
    CLP98View& view_;
    Settings& settings_;
    Window window_;
    int sizeMode_ = 2;  // the application's size mode, standard at start
};

}  // namespace lumipage
