#pragma once
#include <sane/sane.h>

#include <memory>
#include <string>
#include <vector>

#include "twain/TwainTypes.h"
#include "twaindsm/SaneSource.h"

namespace lumipage::twaindsm {

// A TWAIN source manager whose data sources are the devices SANE finds.
// It opens one source at a time. The default source is remembered in the
// file "TwainSource" of the program's settings folder.
class SourceManager {
public:
    ~SourceManager();
    twain::TW_UINT16 entry(twain::TW_IDENTITY* origin, twain::TW_IDENTITY* destination, twain::TW_UINT32 dg,
                           twain::TW_UINT16 dat, twain::TW_UINT16 msg, twain::TW_MEMREF data);

private:
    struct Device {
        std::string name;
        twain::TW_IDENTITY identity;
    };
    twain::TW_UINT16 fail(twain::TW_UINT16 condition);
    twain::TW_UINT16 parent(twain::TW_UINT16 msg);
    twain::TW_UINT16 identity(twain::TW_UINT16 msg, twain::TW_IDENTITY& id);
    twain::TW_UINT16 openSource(twain::TW_IDENTITY& id);
    void closeManager();
    void closeSource();
    void listDevices();
    const Device* defaultDevice();
    const Device* findById(const twain::TW_IDENTITY& id) const;
    static std::string defaultFile();

    bool open_ = false;
    bool saneHeld_ = false;  // a wedged device keeps SANE running until the program ends
    bool listed_ = false;
    std::vector<Device> devices_;
    size_t next_ = 0;
    std::unique_ptr<SaneSource> source_;
    twain::TW_UINT16 condition_ = twain::TWCC_SUCCESS;
};

}  // namespace lumipage::twaindsm
