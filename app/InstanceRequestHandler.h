#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "app/FrameRequest.h"
#include "platform/InstanceRequestServer.h"

namespace lumipage {

class CLP98Doc;
struct Settings;

// What the requests of other copies need from the main frame and its view.
class InstanceRequestFrame {
public:
    virtual ~InstanceRequestFrame() = default;
    virtual std::string windowTitle() = 0;
    // Another copy asks the window to close: queue it, as the window's close
    // box would, rather than destroying anything inside the request.
    virtual void closeWindow() = 0;
    // The view's size mode kept by the application: 1 whole page, 2 standard, 3 double size.
    virtual int sizeMode() = 0;
    virtual void setSizeMode(int mode) = 0;
    // Runs a command now (the size commands) / queues one for the event loop.
    virtual void runCommand(int commandId) = 0;
    virtual void postCommand(int commandId) = 0;
    virtual bool colourDialogOpen() = 0;
    // The page list or the page shown changed underneath.
    virtual void pagesChanged() = 0;
    // The settings changed underneath: redraw with the new colours, scrolling or view flags.
    virtual void coloursChanged() = 0;
    virtual void scrollingChanged() = 0;
    virtual void viewFlagsChanged() = 0;
};

// Answers the requests of other running copies. Codes 0-255 carry a page
// number in their high 16 bits and a NUL-terminated path as data; bits 4-7
// of the low half may set the size mode, the low 4 bits select the action.
// Codes from 256 carry 32-bit integers and must have exactly their size.
// A request that fails validation changes nothing and is answered 0.
class InstanceRequestHandler : public InstanceRequestListener {
public:
    static constexpr uint32_t kCloseAll = 0;
    static constexpr uint32_t kClosePath = 1;
    static constexpr uint32_t kReplacePath = 2;
    static constexpr uint32_t kOpenPath = 3;
    static constexpr uint32_t kGoToPage = 4;
    static constexpr uint32_t kApplySizeMode = 15;
    static constexpr uint32_t kColours = 256;
    static constexpr uint32_t kAutoScroll = 257;
    static constexpr uint32_t kCatchScroll = 258;
    static constexpr uint32_t kViewFlags = 261;
    static constexpr uint32_t kPrintAll = 272;

    InstanceRequestHandler(CLP98Doc& document, Settings& settings, InstanceRequestFrame& frame)
        : document_(document), settings_(settings), frame_(frame) {}

    int32_t handleRequest(int32_t code, std::span<const uint8_t> data) override;
    std::string windowTitle() override;
    void closeWindow() override;

private:
    int32_t pageRequest(const FrameRequest& request);
    int32_t closePath(const std::string& path);
    int32_t openPath(const std::string& path, int page);
    int32_t goToPage(int page);
    int32_t colours(const std::array<int32_t, 8>& values);
    int32_t integerSetting(FrameRequest::Kind kind, int32_t value);

    CLP98Doc& document_;
    Settings& settings_;
    InstanceRequestFrame& frame_;
};

}  // namespace lumipage
