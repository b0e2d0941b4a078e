#pragma once
#include <optional>
#include <string>
#include <vector>

namespace lumipage {

// What the command line asks of this run, besides the switches that change
// settings directly. On Linux a switch starts with "-" ("/" starts a path);
// the rest of the switch is compared exactly, case included.
struct StartupRequest {
    static constexpr size_t kMaxFiles = 100;

    enum class Store { Default, Ini };
    enum class ShellCommand { New, Open, Print };

    Store store = Store::Default;
    std::vector<std::string> files;  // up to kMaxFiles non-switch arguments
    bool printAll = false;           // PRINT
    bool faxAll = false;             // F
    std::optional<std::string> convertTarget;  // "=" path
    bool oneFile = false;                      // ONE: convert all pages into one file
    bool openMode = false;     // OPEN (and FILER)
    bool scanMode = false;     // SCAN
    bool filerMode = false;    // FILER
    bool noSave = false;       // NS
    bool topMost = false;      // TOP
    bool registerProgram = false;  // REGPRG
    bool sortFiles = false;    // S
    int sizeMode = 2;          // 1 whole page (FIT), 2 standard
    std::optional<std::string> caption;  // "T:" text
    std::optional<bool> toolBar;         // T0 / T1
    std::optional<bool> statusBar;       // S0 / S1
    int menuMode = 1;                    // M0 no menu bar, otherwise 1
    bool fileMenu = true;                // MF0 removes the file menu
    bool scanning = true;                // MS0 removes scanning
    bool fax = true;                     // MX0 removes fax
    int firstPage = 0;                   // "P." number; 0 = not given
    std::optional<std::string> faxNumber;  // "#" number, kept for the fax send job
    std::optional<int> windowX, windowY, windowWidth, windowHeight;
    int windowSizeMode = 0;  // 0 none, 1 given, 2 maximised

    ShellCommand shellCommand() const;
    // Print all, fax all or convert all: the run needs no window.
    bool isBatch() const { return printAll || faxAll || convertTarget.has_value(); }
};

}  // namespace lumipage
