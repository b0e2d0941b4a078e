#pragma once
#include <functional>

#include "fax/DocumentFaxPages.h"

namespace lumipage {

class CLP98Doc;
class CLP98FAX;
class FaxSendUi;
class Messages;
struct Settings;

// What a window lends to a fax call; every part may be left empty (a run
// without a window).
struct FaxCallWindow {
    // Handles the window's events while the modem is waited for; true asks
    // the call to be cancelled (the window is closing).
    std::function<bool()> pump;
    // The main window is disabled during the call and enabled after it.
    std::function<void(bool)> enableWindow;
    // The view's scroll position, kept around the job.
    std::function<void()> saveView;
    std::function<void()> restoreView;
    // Given the job's "dial now" once the job exists.
    std::function<void(std::function<void()>)> offerDialNow;
};

// One send job over all or the selected pages of the page list through
// `fax`: the send values are asked through `ui`, the values the job keeps
// are left in `settings`. True when the job ended well.
bool sendPages(CLP98FAX& fax, CLP98Doc& document, Settings& settings, Messages& messages,
               DocumentFaxPages::Range range, FaxSendUi& ui, const FaxCallWindow& window = {});

}  // namespace lumipage
