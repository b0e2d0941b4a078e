#pragma once
#include <functional>
#include <string>

#include "app/InstanceRequestHandler.h"

namespace lumipage {

class CMainFrame;
struct Settings;

// The window's side of the requests of other running copies: its title,
// closing, the commands they ask for, and redrawing after they changed the
// colours, the scrolling settings or the view flags underneath.
class FrameRequestSide : public InstanceRequestFrame {
public:
    FrameRequestSide(CMainFrame& frame, Settings& settings, int sizeMode)
        : frame_(frame), settings_(settings), sizeMode_(sizeMode) {}

    // The size mode belongs to the application when there is one.
    void useSizeMode(std::function<int()> get, std::function<void(int)> set) {
        getSizeMode_ = std::move(get);
        setSizeMode_ = std::move(set);
    }
    // New colours are refused while the colour adjustment dialog is open.
    void setColourDialogQuery(std::function<bool()> open) { colourDialogOpen_ = std::move(open); }

    std::string windowTitle() override;
    void closeWindow() override;
    int sizeMode() override;
    void setSizeMode(int mode) override;
    void runCommand(int commandId) override;
    void postCommand(int commandId) override;
    bool colourDialogOpen() override;
    void pagesChanged() override;
    void coloursChanged() override;
    void scrollingChanged() override;
    void viewFlagsChanged() override;

private:
    CMainFrame& frame_;
    Settings& settings_;
    int sizeMode_;
    std::function<int()> getSizeMode_;
    std::function<void(int)> setSizeMode_;
    std::function<bool()> colourDialogOpen_;
};

}  // namespace lumipage
