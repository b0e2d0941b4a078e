#pragma once
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumipage::test {

// How the simulated modem behaves; the defaults are a well-behaved class 2
// modem whose every call reaches a fax machine.
struct ModemScript {
    bool echo = true;
    bool silent = false;                   // echoes, but never answers
    std::string garbage;                   // when set, every command is answered with this line
    std::string classes = "0,1,2";         // the answer to AT+FCLASS=?
    std::string currentClass = "0";        // the answer to AT+FCLASS?
    std::string capabilities = "1,5,0,2,0,0,0,0";  // AT+FDCC?
    std::string receiverDis = "1,5,0,2,0,0,0,0";   // +FDIS: after the call is answered
    std::string calledStation = "81 3 1234 5678";  // +FCSI:
    // One entry per dialling attempt, the last repeated: "" reaches a fax
    // machine, anything else is the single result line ("BUSY", "NO
    // DIALTONE", "NO ANSWER", "CONNECT 2400" for a data modem...).
    std::vector<std::string> dialResults{""};
    std::map<int, int> pageStatus;         // page index -> +FPTS: value (else 1)
    int hangUpPage = -1;                   // +FHNG: in the middle of this page's data
    int hangUpAfterBytes = 2000;
    int hangUpCode = 50;
    int xoffPage = -1;                     // XOFF for xoffMs after xoffAfterBytes of this page
    int xoffAfterBytes = 3000;
    int xoffMs = 200;
    int slowReadMicros = 0;                // pause after each small read of page data
    int dialDelayMs = 1300;                // the time the call takes to be answered
};

// A class 2 fax modem on the master side of a pseudo-terminal, run by its
// own thread. The program opens `device()` like a serial port. Every page
// received is kept as the bytes between CONNECT and DLE ETX with the DLE
// doubling removed.
class Class2ModemSimulator {
public:
    explicit Class2ModemSimulator(ModemScript script = {});
    ~Class2ModemSimulator();
    Class2ModemSimulator(const Class2ModemSimulator&) = delete;
    Class2ModemSimulator& operator=(const Class2ModemSimulator&) = delete;

    const std::string& device() const { return device_; }
    bool ok() const { return master_ >= 0; }

    std::vector<std::string> commands() const;
    std::vector<std::vector<uint8_t>> pages() const;
    size_t dataBytesReceived() const;  // page data bytes as they came, DLE doubling included
    std::string modemClass() const;

    // The page data as a stream g3topbm -reversebits reads (a leading EOL added).
    static std::vector<uint8_t> asG3File(const std::vector<uint8_t>& page);

private:
    void run();
    void handleByte(uint8_t byte);
    void handleDataByte(uint8_t byte);
    void handleCommand(const std::string& line);
    void dial(const std::string& command);
    void say(const std::string& line);
    void writeRaw(const std::string& bytes);

    ModemScript script_;
    int master_ = -1;
    int slave_ = -1;  // held open so that the master never sees a hang-up
    std::string device_;
    std::thread thread_;
    std::atomic<bool> stop_{false};

    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
    std::vector<std::vector<uint8_t>> pages_;
    std::atomic<size_t> dataBytes_{0};
    std::string class_ = "0";

    // Thread state.
    std::string line_;
    bool dataMode_ = false;
    bool discarding_ = false;  // after a hang-up in the middle of a page
    bool afterDle_ = false;
    std::vector<uint8_t> page_;
    int dialAttempt_ = 0;
    int pagesReceived_ = 0;
    size_t pageBytes_ = 0;
};

}  // namespace lumipage::test
