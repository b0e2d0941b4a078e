// Modem responses: the input is what the modem sends. It is read as lines
// and classified as in the command phase and in the fax phase.
#include <cstddef>
#include <cstdint>
#include <deque>

#include "fax/Class2Transmitter.h"
#include "fax/ModemLink.h"

using namespace lumipage;

namespace {

// A port whose input is the fuzz data and which takes every byte written.
class InputLine : public SerialLine {
public:
    InputLine(const uint8_t* data, size_t size) : input_(data, data + size) {}
    int probe(const std::string&) override { return 1; }
    bool open(const std::string&, int) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    bool setSpeed(int) override { return true; }
    bool writeByte(uint8_t, int) override { return true; }
    std::optional<uint8_t> readByte(int) override {
        if (input_.empty()) return std::nullopt;
        const uint8_t b = input_.front();
        input_.pop_front();
        return b;
    }
    size_t bytesWaiting() override { return input_.size(); }
    bool waitForInput(int) override { return !input_.empty(); }
    bool writeBlock(std::span<const uint8_t>) override { return true; }
    bool waitWritable(int) override { return true; }
    bool writePending() override { return false; }
    size_t outputQueued() override { return 0; }
    void clearInput() override {}
    void clearOutput() override {}
    bool setDtr(bool) override { return true; }
    bool setRts(bool) override { return true; }
    std::optional<ModemLines> modemLines() override { return ModemLines{true, true, false}; }

private:
    std::deque<uint8_t> input_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 14)) return 0;
    InputLine line(data, size);
    ModemLink link(line, FaxTiming{1, 0});
    Class2Transmitter fax(link, 4096);
    bool faxPhase = false;
    while (const std::optional<std::string> text = link.readLine(100)) {
        if (text->size() > ModemLink::kMaxLine) std::abort();
        ResponseKind kind{};
        if (faxPhase)
            fax.classifyFax(*text, kind);
        else
            link.classify(*text, kind);
        faxPhase = faxPhase || kind == ResponseKind::FaxConnect;
        if (fax.calledStation.size() > 31 || fax.pageParameters.size() < 15) std::abort();
    }
    return 0;
}
