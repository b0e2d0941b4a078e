#include "app/ViewerCommands.h"

#include "base/CommandIds.h"
#include "base/Settings.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "view/CLP98View.h"
#include "view/PageNavigator.h"

namespace lumipage {

using namespace command;

namespace {

constexpr CLP98View::PageScope kCurrentPage = CLP98View::PageScope::CurrentPage;
constexpr CLP98View::PageScope kAllPages = CLP98View::PageScope::AllPages;

// The turn a rotation command asks for, or -1.
int rotationOf(int id) {
    if (id >= kRotate0 && id <= kRotate270) return id - kRotate0;
    if (id >= kRotateAll0 && id <= kRotateAll270) return id - kRotateAll0;
    return -1;
}

}  // namespace

CommandState ViewerCommands::state(int id) const {
    CommandState s;
    s.enabled = enabled(id);
    s.checked = checked(id);
    if (id == kPageCounter) s.text = navigator_.pageCounterText();
    if (id == kSelectionCounter) s.text = navigator_.selectionCounterText();
    return s;
}

bool ViewerCommands::hasCheckMark(int id) {
    if (rotationOf(id) >= 0) return true;
    switch (id) {
        case kFitPageWidth: case kFitTwicePageWidth: case kFitWholePage: case kZoomByMouse: case kZoomFrame:
        case kAutoScroll: case kCatchScroll: case kViewCenter: case kViewFrameShadow: case kToggleSelection:
        case kInvert: case kMirrorLeftRight: case kMirrorUpDown: case kColourAdjustment: return true;
        default: return false;
    }
}

bool ViewerCommands::enabled(int id) const {
    const bool shown = view_.pageShown();
    const bool files = table_.fileCount() > 0;
    const bool pages = navigator_.pageCount() > 0;
    if (rotationOf(id) >= 0) return shown;
    switch (id) {
        case kOpen: case kExit: return true;
        case kCloseCurrent: return files || document_.unsavedPage();
        case kCloseSelected: return table_.counts().selected > 0;
        case kCloseAll: return files;
        case kZoomIn: return view_.canZoomIn();
        case kZoomOut: return view_.canZoomOut();
        case kFitPageWidth: case kFitTwicePageWidth: case kFitWholePage: return true;
        case kZoomByMouse: case kZoomFrame: return shown;
        case kEnlargeFrame: return view_.canEnlargeFrame();
        case kShrinkFrame: return view_.canShrinkFrame();
        case kAutoScroll: case kCatchScroll: case kViewCenter: case kViewFrameShadow: return true;
        case kNextPage: return navigator_.canNext();
        case kPreviousPage: return navigator_.canPrevious();
        case kFirstPage: return navigator_.canFirst();
        case kLastPage: return navigator_.canLast();
        case kJump: return navigator_.canJump();
        case kBack: return navigator_.canBack();
        case kNextSelected: return navigator_.canNextSelected();
        case kPreviousSelected: return navigator_.canPreviousSelected();
        case kPageCounter: return navigator_.canListPages();
        case kSelectionCounter: return navigator_.canListSelected();
        case kToggleSelection: case kSelectAll: case kClearSelection: case kInvertSelection: return pages;
        case kClearPrintedMarks: return navigator_.canClearPrinted();
        case kClearSentMarks: return navigator_.canClearSent();
        case kTurnLeft: case kTurnRight: case kTurnHalf:
        case kInvert: case kInvertAll: case kMirrorLeftRight: case kMirrorLeftRightAll:
        case kMirrorUpDown: case kMirrorUpDownAll: return shown;
        default: return false;  // the window answers for its own commands first
    }
}

bool ViewerCommands::checked(int id) const {
    if (const int angle = rotationOf(id); angle >= 0) return view_.pageShown() && view_.rotation() == angle;
    const PageOrientation& o = view_.orientation();
    switch (id) {
        case kFitPageWidth: return view_.fitMode() == CLP98View::kFitPageWidth;
        case kFitTwicePageWidth: return view_.fitMode() == CLP98View::kFitTwicePageWidth;
        case kFitWholePage: return view_.fitMode() == CLP98View::kFitWholePage;
        case kZoomByMouse: return view_.zoomByMouse();
        case kZoomFrame: return view_.zoomFrameMode();
        case kAutoScroll: return settings_.autoScroll != 0;
        case kCatchScroll: return settings_.catchScroll != 0;
        case kViewCenter: return settings_.viewCenter != 0;
        case kViewFrameShadow: return settings_.viewFrameShadow != 0;
        case kToggleSelection: return navigator_.currentSelected();
        case kInvert: return view_.pageShown() && o.inverted();
        case kMirrorLeftRight: return view_.pageShown() && o.mirroredLeftRight();
        case kMirrorUpDown: return view_.pageShown() && o.mirroredUpDown();
        default: return false;
    }
}

bool ViewerCommands::run(int id) {
    if (!enabled(id)) return false;
    return runView(id) || runPages(id) || runFiles(id);
}

bool ViewerCommands::runView(int id) {
    if (const int angle = rotationOf(id); angle >= 0) {
        view_.rotateTo(angle, id >= kRotateAll0 ? kAllPages : kCurrentPage);
        return true;
    }
    switch (id) {
        case kZoomIn: view_.zoomIn(); return true;
        case kZoomOut: view_.zoomOut(); return true;
        case kFitPageWidth: view_.fitCommand(CLP98View::kFitPageWidth); return true;
        case kFitTwicePageWidth: view_.fitCommand(CLP98View::kFitTwicePageWidth); return true;
        case kFitWholePage: view_.fitCommand(CLP98View::kFitWholePage); return true;
        case kZoomByMouse: view_.toggleZoomByMouse(); return true;
        case kZoomFrame: view_.toggleZoomFrame(); return true;
        case kEnlargeFrame: view_.enlargeFrame(); return true;
        case kShrinkFrame: view_.shrinkFrame(); return true;
        case kAutoScroll:
            settings_.autoScroll = !settings_.autoScroll;
            broadcast(kRequestAutoScroll, settings_.autoScroll);
            return true;
        case kCatchScroll:
            settings_.catchScroll = !settings_.catchScroll;
            broadcast(kRequestCatchScroll, settings_.catchScroll);
            return true;
        case kViewCenter: view_.toggleViewCenter(); broadcast(kRequestViewFlags, settings_.viewFlags()); return true;
        case kViewFrameShadow:
            view_.toggleViewFrameShadow();
            broadcast(kRequestViewFlags, settings_.viewFlags());
            return true;
        case kTurnLeft: view_.turnLeft(); return true;
        case kTurnRight: view_.turnRight(); return true;
        case kTurnHalf: view_.turnHalf(); return true;
        case kInvert: view_.toggleInverted(kCurrentPage); return true;
        case kInvertAll: view_.toggleInverted(kAllPages); return true;
        case kMirrorLeftRight: view_.toggleMirrorLeftRight(kCurrentPage); return true;
        case kMirrorLeftRightAll: view_.toggleMirrorLeftRight(kAllPages); return true;
        case kMirrorUpDown: view_.toggleMirrorUpDown(kCurrentPage); return true;
        case kMirrorUpDownAll: view_.toggleMirrorUpDown(kAllPages); return true;
        default: return false;
    }
}

bool ViewerCommands::runPages(int id) {
    switch (id) {
        case kNextPage: navigator_.nextPage(); return true;
        case kPreviousPage: navigator_.previousPage(); return true;
        case kFirstPage: navigator_.firstPage(); return true;
        case kLastPage: navigator_.lastPage(); return true;
        case kBack: navigator_.back(); return true;
        case kNextSelected: navigator_.nextSelected(); return true;
        case kPreviousSelected: navigator_.previousSelected(); return true;
        case kToggleSelection: navigator_.toggleCurrentSelection(); return true;
        case kSelectAll: navigator_.selectAll(); return true;
        case kClearSelection: navigator_.clearSelection(); return true;
        case kInvertSelection: navigator_.invertSelection(); return true;
        case kClearPrintedMarks: navigator_.clearPrintedMarks(); return true;
        case kClearSentMarks: navigator_.clearSentMarks(); return true;
        default: return false;
    }
}

bool ViewerCommands::runFiles(int id) {
    switch (id) {
        case kCloseCurrent: document_.closeCurrent(); break;
        case kCloseSelected: document_.closeSelected(); break;
        case kCloseAll: document_.closeAll(); break;
        default: return false;
    }
    afterFileChange();
    return true;
}

void ViewerCommands::afterFileChange() {
    view_.ShowCurrentPage();
    if (changed_) changed_();
}

void ViewerCommands::broadcast(int code, int value) {
    if (broadcast_) broadcast_(code, value);
}

}  // namespace lumipage
