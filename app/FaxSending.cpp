#include "app/FaxSending.h"

#include "fax/CLP98FAX.h"
#include "fax/FaxSendJob.h"
#include "fax/FaxTexts.h"

namespace lumipage {

bool sendPages(CLP98FAX& fax, CLP98Doc& document, Settings& settings, Messages& messages,
               DocumentFaxPages::Range range, FaxSendUi& ui, const FaxCallWindow& window) {
    ModemLink& link = fax.link();
    link.setEventPump(window.pump);
    DocumentFaxPages pages(document, range);
    if (window.enableWindow) pages.onMainWindowEnabled(window.enableWindow);
    if (window.saveView && window.restoreView) pages.onViewSaved(window.saveView, window.restoreView);
    FaxSendJob job(link, fax.transmitter(), ui, pages, messages, settings);
    if (window.offerDialNow) window.offerDialNow([&job] { job.dialNow(); });
    job.run(fax.sendValues());
    link.setEventPump(nullptr);
    return job.lastStep() == faxtext::kStepDone;
}

}  // namespace lumipage
