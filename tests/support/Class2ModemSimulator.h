#pragma once
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace lumipage::test {

// How the simulated modem behaves; the defaults are a well-behaved class 2
// modem whose every call reaches a fax machine.
struct ModemScript {
    bool echo = true;                      // false: never echoes, whatever E1 asks
    bool echoOffUntilE1 = false;           // starts with echo off, as a modem stored with E0
    bool silent = false;                   // echoes, but never answers
    std::string garbage;                   // when set, every command is answered with this line
    std::string classes = "0,1,2";         // the answer to AT+FCLASS=?; the classes AT+FCLASS= takes
                                           // ("0,1,2.0": a class 2.0 modem, which speaks T.32)
    std::string currentClass = "0";        // the answer to AT+FCLASS?
    std::string capabilities = "1,5,0,2,0,0,0,0";  // AT+FDCC? until AT+FDCC= sets them
    std::string receiverDis = "1,5,0,2,0,0,0,0";   // +FDIS: after the call is answered
    std::string calledStation = "81 3 1234 5678";  // +FCSI:
    // Reports a real modem may give besides: the answer tone while dialling,
    // the receiver's non-standard facilities and station id, the training's
    // confirmation, and a RING between commands after the OK of this command.
    bool reportAnswerTone = false;         // CED
    std::string nonStandard;               // +FNSF: when set
    std::string transmittingStation;       // +FTSI: when set
    bool reportConfirmation = true;        // +FCFR before CONNECT
    std::string ringAfterCommand;          // RING after this command's OK
    // A class 2.0 modem that gives some reports under their class 2 names
    // (+FCSI:, +FDIS:, +FDCS:, +FPTS:, +FHNG: in decimal), as some do.
    bool mixedReports = false;
    // One entry per dialling attempt, the last repeated: "" reaches a fax
    // machine, anything else is the single result line ("BUSY", "NO
    // DIALTONE", "NO ANSWER", "CONNECT 2400" for a data modem...).
    std::vector<std::string> dialResults{""};
    std::map<int, int> pageStatus;         // page index -> +FPTS: value (else 1)
    int hangUpPage = -1;                   // +FHNG: in the middle of this page's data
    int hangUpAfterBytes = 2000;
    int hangUpCode = 50;
    int noCarrierPage = -1;                // the carrier drops in the middle of this page's data
    int noCarrierAfterBytes = 2000;
    int xoffPage = -1;                     // XOFF for xoffMs after xoffAfterBytes of this page
    int xoffAfterBytes = 3000;
    int xoffMs = 200;
    int slowReadMicros = 0;                // pause after each small read of page data
    // The modem's own times, in seconds of a real line, run at timeScale:
    // dialling until the call is answered, the training before each page,
    // and each page's data at the bit rate +FDCS negotiated.
    double timeScale = 0.02;
    double dialSeconds = 65;
    double trainingSeconds = 3;
};

// A class 2 fax modem on the master side of a pseudo-terminal, run by its
// own thread. The program opens `device()` like a serial port.
//
// It keeps the state a modem keeps: the service class, and whether it is
// idle, in a call (after +FCON) or receiving a page's data (after CONNECT),
// and answers ERROR to what a class 2 modem refuses: an unknown command, a
// value out of range or a malformed parameter list, a fax command outside
// class 2, AT+FDT outside a call, AT+FET= before a page was sent. +FDCS
// reports what AT+FDIS asked within what the receiver offered. Every page
// received is kept as the bytes between CONNECT and DLE ETX with the DLE
// doubling removed.
//
// Offered class 2.0 and set to it, it is a T.32 modem instead: only the
// 2.0 commands (+FCC, +FIS, +FLI, +FBO, +FLO, +FNR, +FKS...), lists of
// eight or nine values, reports under the 2.0 names and only those +FNR
// asked for, +FHS: in hexadecimal, no +FET: each page's data ends with DLE
// and the post-page message (',' MPS, ';' EOM, '.' EOP). Anything else
// after DLE is noted as a violation and abandons the call.
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
    std::vector<std::string> negotiated() const;  // the +FDCS: values reported, one per page
    size_t dataBytesReceived() const;  // page data bytes as they came, DLE doubling included
    std::string modemClass() const;
    std::vector<std::string> violations() const;  // what the program did against the command set

    // The page data as a file g3topbm -reversebits reads: as it came.
    static std::vector<uint8_t> asG3File(const std::vector<uint8_t>& page);

    enum class Phase { Idle, Call, PageData, PostPage };

private:
    using Parameters = std::array<int, 9>;  // VR..ST and JP, which only class 2.0 has

    void run();
    void handleByte(uint8_t byte);
    void handleDataByte(uint8_t byte);
    void handleCommand(const std::string& line);
    bool runBasic(const std::string& c, size_t& at);
    bool runExtended(const std::string& c);
    bool runFax(const std::string& name, const std::string& rest);
    bool runFax20(const std::string& name, const std::string& rest);
    bool runParameters(const std::string& name, const std::string& tail, bool capabilities);
    bool runLocalId(const std::string& tail);
    bool runSetting(const std::string& tail, int count, int highest, std::vector<int>& values);
    bool runPageData(const std::string& tail);
    bool class20() const;
    size_t parameterCount() const { return class20() ? 9 : 8; }
    std::optional<Parameters> parse(const std::string& text, Parameters base) const;
    std::string joined(const Parameters& values) const;
    // A report under its class 2.0 name, or its class 2 one when the
    // script mixes them.
    void report(const std::string& name20, const std::string& name2, const std::string& value);
    std::string hangUpReport(int class2Code);
    void violation(const std::string& what);
    void dial(const std::string& command);
    void startPage();
    void endPage();
    void endPage20(uint8_t message);
    void pace(size_t bytes);
    bool waitQuietly(double realSeconds);
    void say(const std::string& line);
    void result(const std::string& line);
    void writeRaw(const std::string& bytes);
    int bitRate() const;

    ModemScript script_;
    int master_ = -1;
    int slave_ = -1;  // held open so that the master never sees a hang-up
    std::string device_;
    std::thread thread_;
    std::atomic<bool> stop_{false};

    mutable std::mutex mutex_;
    std::vector<std::string> commands_;
    std::vector<std::vector<uint8_t>> pages_;
    std::vector<std::string> negotiated_;
    std::vector<std::string> violations_;
    std::atomic<size_t> dataBytes_{0};
    std::string class_ = "0";

    // Thread state.
    Phase phase_ = Phase::Idle;
    bool echo_ = true;
    bool quiet_ = false;
    bool verbose_ = true;
    std::string line_;
    bool discarding_ = false;  // after a hang-up in the middle of a page
    bool afterDle_ = false;
    std::vector<uint8_t> page_;
    int dialAttempt_ = 0;
    int pagesReceived_ = 0;
    size_t pageBytes_ = 0;
    std::optional<Parameters> capabilities_;  // set by AT+FDCC=
    std::optional<Parameters> session_;       // set by AT+FDIS=
    Parameters current_{};                    // +FDCS of the page being sent
    std::string localId_;
    std::array<bool, 4> reports_{};  // +FNR: capabilities, session, identities, non-standard
    std::chrono::steady_clock::time_point lineFree_{};
};

}  // namespace lumipage::test
