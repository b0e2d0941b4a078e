#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "image/PageRaster.h"
#include "scan/SourceManagerLibrary.h"
#include "scan/TwainSession.h"

namespace lumipage::test {

// A source manager with one scripted source, called in-process: it keeps
// the TWAIN states, answers capabilities from a table, and transfers one
// or more copies of a given image in strips of a chosen size.
class FakeTwainSource {
public:
    // Script.
    bool openManagerFails = false;
    bool openSourceFails = false;
    bool enableFails = false;
    uint16_t failureCondition = twain::TWCC_BUMMER;  // what DAT_STATUS reports after a failure
    int width = 64;
    int height = 16;
    int bitsPerPixel = 8;
    int samplesPerPixel = 1;
    double dpi = 300;
    std::vector<uint8_t> image;  // height rows of bytesPerRow() bytes
    uint32_t rowsPerStrip = 5;
    uint32_t preferredBuffer = 0;  // 0: rowsPerStrip rows
    bool stripsNumberedFromZero = false;  // every strip's YOffset is 0
    int extraRows = 0;                    // rows sent beyond the announced length
    int failAtStrip = -1;                 // this strip answers TWRC_FAILURE
    int pages = 1;
    uint16_t closeCondition = 0;  // what DAT_STATUS reports when the source closes with no page (an empty feeder)
    std::set<uint16_t> refusedSets;                    // capabilities whose MSG_SET fails
    std::map<uint16_t, std::vector<uint8_t>> containers;  // MSG_GET answers: kind byte + container bytes

    // What happened.
    std::vector<std::string> calls;
    std::vector<std::pair<uint16_t, double>> sets;  // capability and current value of each MSG_SET
    int state = 1;

    uint32_t bytesPerRow() const { return uint32_t((width * bitsPerPixel + 7) / 8); }
    // An image whose rows repeat `values` (8-bit pixels) across the width.
    void fillGray(const std::vector<uint8_t>& values);
    // Registers a capability answer.
    void answer(uint16_t cap, uint16_t kind, twain::TW_HANDLE container);

    DsmEntry entry();

private:
    uint16_t call(twain::TW_IDENTITY* destination, uint32_t dg, uint16_t dat, uint16_t msg, void* data);
    uint16_t control(uint16_t dat, uint16_t msg, void* data);
    uint16_t capability(uint16_t msg, twain::TW_CAPABILITY& cap);
    uint16_t transfer(twain::TW_IMAGEMEMXFER& transfer);
    uint16_t fail();

    uint16_t condition_ = 0;
    int row_ = 0;
    int strip_ = 0;
    int pagesLeft_ = 0;
};

class FakeLibrary : public SourceManagerLibrary {
public:
    explicit FakeLibrary(FakeTwainSource* source) : source_(source) {}
    DsmEntry load() override {
        ++loads;
        return source_ ? source_->entry() : DsmEntry{};
    }
    void unload() override { ++unloads; }
    int loads = 0;
    int unloads = 0;

private:
    FakeTwainSource* source_;
};

class FakeHost : public TwainHost {
public:
    bool pump() override { return ++pumps < 1000; }
    void enableWindow(bool enabled) override { enabled ? ++enables : ++disables; }
    int pumps = 0, enables = 0, disables = 0;
};

// Keeps a copy of every page that arrives.
class RecordingClient : public AcquireClient {
public:
    bool numberedOption = true, continuousOption = false, sourceDialogOption = false;
    bool keep = true;
    std::vector<std::vector<uint8_t>> pages;  // image bytes of each page
    std::vector<std::pair<int, int>> sizes;
    std::vector<bool> grays;
    int advances = 0;

    bool pageDone(PageRaster& page, bool gray) override;
    void advanceName() override { ++advances; }
    bool numbered() const override { return numberedOption; }
    bool continuous() const override { return continuousOption; }
    bool sourceDialog() const override { return sourceDialogOption; }
};

}  // namespace lumipage::test
