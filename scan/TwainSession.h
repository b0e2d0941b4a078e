#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "scan/SourceManagerLibrary.h"
#include "twain/TwainContainer.h"
#include "twain/TwainTypes.h"

namespace lumipage {

class Messages;
class PageRaster;

// What the window does for a session: keeps itself responsive while the
// acquisition loop runs, and is disabled meanwhile.
class TwainHost {
public:
    virtual ~TwainHost() = default;
    // Handles pending window events; false when the program is quitting.
    virtual bool pump() = 0;
    virtual void enableWindow(bool enabled) = 0;
    // While a page is read: `rows` of `total` rows (-1 when the source does
    // not know the length) of the acquisition's page `page` have arrived;
    // false when the user cancels the page. `pageRead` ends the progress.
    virtual bool readingPage(int page, int rows, int total) {
        (void)page, (void)rows, (void)total;
        return pump();
    }
    virtual void pageRead() {}
};

// Lets the user pick one of the sources the manager lists; nullopt when the
// choice is cancelled.
class SourceChooser {
public:
    virtual ~SourceChooser() = default;
    virtual std::optional<size_t> choose(const std::vector<std::string>& sources, size_t current) = 0;
};

// The scan job's part in an acquisition.
class AcquireClient {
public:
    virtual ~AcquireClient() = default;
    // A page arrived in the raster (`gray`: it came as 8-bit data and the
    // session holds its gray copy); false when it could not be kept.
    virtual bool pageDone(PageRaster& page, bool gray) = 0;
    // Moves on to the next file name before a further page.
    virtual void advanceName() = 0;
    virtual bool numbered() const = 0;      // "番号付加"
    virtual bool continuous() const = 0;    // "連続"
    virtual bool sourceDialog() const = 0;  // "詳細設定"
};

// The program's TWAIN client: loads the source manager, opens the default
// source, negotiates capabilities and acquires pages by memory transfer
// into 1-bit page rasters. It follows the TWAIN 1.x states:
// 1 manager not loaded, 2 loaded, 3 manager open, 4 source open,
// 5 source enabled, 6 transfer ready, 7 transferring.
class TwainSession {
public:
    static constexpr const char* kErrorCaption = "TWAIN Error";

    TwainSession(SourceManagerLibrary& library, Messages& messages, TwainHost& host, std::string versionText);
    ~TwainSession();
    TwainSession(const TwainSession&) = delete;
    TwainSession& operator=(const TwainSession&) = delete;

    int state() const { return state_; }
    bool isOpen() const { return sourceOpen_; }
    const twain::TW_IDENTITY& appIdentity() const { return app_; }
    const twain::TW_IDENTITY& sourceIdentity() const { return source_; }
    const twain::TW_IMAGEINFO& imageInfo() const { return info_; }
    uint16_t lastReturnCode() const { return lastRc_; }

    // Whether the source manager can be loaded at all (loaded and unloaded
    // again); the scan commands are offered only then.
    bool managerAvailable();
    bool OpenDefaultSource();
    void CloseSource();
    // Lets the user choose the default source; true when one was chosen.
    bool SelectSource(SourceChooser& chooser);
    // The modal acquisition; true when the last page was transferred and kept.
    bool Acquire(PageRaster& page, AcquireClient& client);

    // Capabilities, in state 4. Values are numbers (FIX32 as its value).
    bool SetCapability(uint16_t cap, uint16_t itemType, double value);
    std::optional<double> GetCapability(uint16_t cap, uint16_t itemType);
    // The whole container MSG_GET returns; errors 2 and 8 to 12 are recorded.
    std::optional<twain::ContainerValues> readCapability(uint16_t cap, uint16_t itemType);
    // Sends an enumeration with one current item chosen by index.
    bool setEnumeration(uint16_t cap, uint16_t itemType, std::span<const uint8_t> items, uint32_t count,
                        uint32_t current);
    bool sendCapability(twain::TW_CAPABILITY& capability);
    bool startManager();
    bool setImageLayout(double left, double top, double right, double bottom);

    // Error record: the first error stays until cleared.
    void clearError();
    void recordError(int code);
    int errorCode() const { return errorCode_; }
    int errorReturnCode() const { return errorRc_; }
    int errorConditionCode() const { return errorCc_; }
    std::string errorReport(std::string_view caption) const;
    void ReportError(std::string_view caption);

    // The source's user interface stays hidden when set ("詳細設定" off).
    void setHideSourceDialog(bool hide) { hideUi_ = hide; }
    bool feederEnabled() const { return feederEnabled_; }
    void setFeederEnabled(bool on) { feederEnabled_ = on; }
    void setXeroxTwain(bool on) { xeroxTwain_ = on; }
    int threshold() const { return threshold_; }
    void setThreshold(int threshold) { threshold_ = threshold < 0 ? 0 : threshold > 255 ? 255 : threshold; }
    const std::vector<uint8_t>& grayCopy() const { return gray_; }
    // Thresholds the gray copy of the last 8-bit page into `page` again.
    void applyThreshold(int threshold, PageRaster& page);

private:
    bool loadManager();
    void unloadManager();
    bool openManager();
    void closeManager();
    bool openSource();
    void closeSource();
    void disableSource();
    uint16_t callManager(uint16_t dat, uint16_t msg, void* data, uint32_t dg = twain::DG_CONTROL);
    uint16_t callSource(uint32_t dg, uint16_t dat, uint16_t msg, void* data);
    int conditionCode();
    bool requireState4(const char* message);

    // Acquisition.
    bool pageLoop(PageRaster& page, AcquireClient& client, bool& result);
    bool transferPage(PageRaster& page, AcquireClient& client);
    bool refusePage(const char* message, AcquireClient& client);
    bool receiveStrips(PageRaster& page, const twain::TW_SETUPMEMXFER& setup);
    bool receiveUnknownLength(PageRaster& page, const twain::TW_SETUPMEMXFER& setup, int32_t width);
    uint16_t nextStrip(std::vector<uint8_t>& buffer, uint32_t length, twain::TW_IMAGEMEMXFER& transfer);
    void endTransfer(bool pageDone, AcquireClient& client);
    void endPendingTransfers();
    void noteClosingCondition();

    SourceManagerLibrary& library_;
    Messages& messages_;
    TwainHost& host_;
    DsmEntry entry_;
    int state_ = 1;
    twain::TW_IDENTITY app_{};
    twain::TW_IDENTITY source_{};
    bool sourceOpen_ = false;
    uint16_t lastRc_ = twain::TWRC_FAILURE;
    int errorCode_ = 0;
    int errorRc_ = 0;
    int errorCc_ = 0;
    twain::TW_IMAGEINFO info_{};
    bool hideUi_ = false;
    bool feederEnabled_ = false;
    bool xeroxTwain_ = true;
    int threshold_ = 128;
    std::vector<uint8_t> gray_;
    int pagesRead_ = 0;  // pages begun in this acquisition, for the progress
};

}  // namespace lumipage
