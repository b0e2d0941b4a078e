#pragma once
#include <sane/sane.h>

#include "twain/TwainTypes.h"

namespace lumipage::twaindsm {

// The TWAIN condition code that tells the application what a SANE status
// means for the user: a jam, an empty feeder, an open cover, a busy device.
constexpr twain::TW_UINT16 conditionFor(SANE_Status status) {
    using namespace twain;
    switch (status) {
    case SANE_STATUS_GOOD:
    case SANE_STATUS_EOF: return TWCC_SUCCESS;
    case SANE_STATUS_JAMMED: return TWCC_PAPERJAM;
    case SANE_STATUS_NO_DOCS: return TWCC_NOMEDIA;
    case SANE_STATUS_COVER_OPEN: return TWCC_INTERLOCK;
    case SANE_STATUS_DEVICE_BUSY: return TWCC_DEVICEBUSY;
    case SANE_STATUS_IO_ERROR: return TWCC_CHECKDEVICEONLINE;
    case SANE_STATUS_NO_MEM: return TWCC_LOWMEMORY;
    case SANE_STATUS_ACCESS_DENIED: return TWCC_DENIED;
    case SANE_STATUS_INVAL: return TWCC_BADVALUE;
    default: return TWCC_OPERATIONERROR;
    }
}

}  // namespace lumipage::twaindsm
