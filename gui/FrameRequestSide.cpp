#include "gui/FrameRequestSide.h"

#include <QTimer>

#include "base/Settings.h"
#include "gui/CMainFrame.h"
#include "view/CLP98View.h"

namespace lumipage {

// Computed afresh: a request answered a moment ago may have changed it.
std::string FrameRequestSide::windowTitle() { return frame_.captionText().toStdString(); }

// Queued, as the window's close box would be, rather than destroying
// anything inside the request.
void FrameRequestSide::closeWindow() {
    QTimer::singleShot(0, &frame_, [this] { frame_.close(); });
}

int FrameRequestSide::sizeMode() { return getSizeMode_ ? getSizeMode_() : sizeMode_; }

// The view takes the mode too, so the file the request opens is shown at that fit.
void FrameRequestSide::setSizeMode(int mode) {
    if (setSizeMode_) setSizeMode_(mode);
    else sizeMode_ = mode;
    frame_.view().setFitMode(mode);
}

void FrameRequestSide::runCommand(int commandId) { frame_.runCommand(commandId); }

void FrameRequestSide::postCommand(int commandId) {
    QTimer::singleShot(0, &frame_, [this, commandId] { frame_.runCommand(commandId); });
}

bool FrameRequestSide::colourDialogOpen() { return colourDialogOpen_ && colourDialogOpen_(); }

void FrameRequestSide::pagesChanged() { frame_.showCurrentPage(); }

// Only the colour table is rebuilt; the page is not reduced again.
void FrameRequestSide::coloursChanged() { frame_.coloursChanged(); }

void FrameRequestSide::scrollingChanged() { frame_.refresh(); }

void FrameRequestSide::viewFlagsChanged() {
    frame_.view().setCentring(settings_.viewCenter != 0);
    frame_.showCurrentPage();
}

}  // namespace lumipage
