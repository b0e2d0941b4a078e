#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fax/FaxDialect.h"
#include "fax/ModemLink.h"
#include "image/FaxRowSink.h"

namespace lumipage {

class FaxProgress;

// One outgoing fax call through a service class 2 modem: set-up, dialling,
// the coded rows of each page queued and written in blocks (DLE doubled, as
// the class 2 data phase requires), post-page messages, hang-up. Transmits
// only. A modem that offers service class 2.0 (T.32) and not class 2 gets
// the same call in the 2.0 command set.
class Class2Transmitter : public FaxRowSink {
public:
    static constexpr size_t kRingSize = 2 * 1024 * 1024;
    static constexpr size_t kBlockLimit = 10240;
    static constexpr size_t kDrainThreshold = 10000;
    static constexpr size_t kLastLineThreshold = 1000;
    static constexpr int kLineThreshold = 500;
    static constexpr uint8_t kDle = 0x10;
    static constexpr uint8_t kEtx = 0x03;
    // What follows DLE at the end of a class 2.0 page: MPS, EOM, EOP.
    static constexpr uint8_t kPostPageCodes[3] = {0x2c, 0x3b, 0x2e};

    // The ring size is a parameter so that tests can fill a small one.
    explicit Class2Transmitter(ModemLink& link, size_t ringSize = kRingSize);

    void setLocalId(std::string id) { localId_ = std::move(id); }
    void setSpeedLimit(int bitsPerSecond) { speedLimit_ = bitsPerSecond; }
    void setProgress(FaxProgress* progress) { progress_ = progress; }

    bool startClass2();
    bool dialFax(std::string_view number, char dialType);
    bool beginPage(bool normalResolution);
    bool sendLine(std::span<const uint8_t> coded, bool lastLine);
    bool endPageData();
    // digit: 0 more pages follow, 1 another document, 2 no more pages.
    bool endPage(int digit);
    bool hangUp();
    bool restoreClass();
    // The command set the last set-up chose.
    FaxDialect dialect() const { return dialect_; }

    // The fax-phase classifier with its effects; false for "ERROR".
    bool classifyFax(std::string_view line, ResponseKind& kind);
    // A response line within waitMs, classified; nothing when none came or it was "ERROR".
    std::optional<ResponseKind> readFaxResponse(int waitMs);

    // FaxRowSink: the rows of a fitted page.
    bool sendRow(std::span<const uint8_t> coded, bool lastRow) override { return sendLine(coded, lastRow); }
    bool drain() override { return true; }  // each line drains as it is queued
    bool endPage() override { return endPageData(); }

    // What the call reported.
    std::string capabilities = "0,0,0,0,0,0,0,0";   // the modem's, from AT+FDCC?
    std::string pageParameters = "0,0,0,0,0,0,0,0"; // for AT+FDIS= before each page
    std::string negotiated;
    std::string calledStation;
    std::string transmittingStation;
    int32_t hangUpCode = -1;
    std::string hangUpText;
    int32_t postPageStatus = 255;
    std::string pageResultText;
    bool pageError = false;
    std::string pageStatusText;  // set by the send job on file and memory errors
    size_t bytesQueued = 0;
    size_t bytesWritten = 0;

private:
    bool startClass20();
    std::string paddedLocalId() const;
    bool endPage20(int digit);
    bool queueByte(uint8_t byte);
    bool drainStep();
    bool dropFlowControl();
    bool waitForRoom();
    void readUntilOk(int waitMs);
    void resetPageQueue();

    ModemLink& link_;
    FaxProgress* progress_ = nullptr;
    std::string localId_;
    int speedLimit_ = 14400;
    std::string savedClass_ = "0";
    FaxClassChoice class_;
    FaxDialect dialect_ = FaxDialect::Class2;

    size_t ringSize_;
    std::vector<uint8_t> ring_;
    std::vector<uint8_t> block_;
    size_t readPos_ = 0;
    size_t writePos_ = 0;
    size_t fill_ = 0;
    bool draining_ = false;
    size_t drainThreshold_ = kDrainThreshold;
    int lines_ = 0;
    uint32_t drainSteps_ = 0;
};

}  // namespace lumipage
