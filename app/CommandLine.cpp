#include "app/CommandLine.h"

#include <string_view>

#include "base/Settings.h"
#include "app/WindowSizeSetting.h"

namespace lumipage {

namespace {

constexpr int kPaperModeGiven = 0;
constexpr int kPaperModeWhite = 2;     // "W" followed by a non-digit
constexpr int kPaperModeBlueish = 3;   // "Y" followed by a non-digit
constexpr int kPaperModeCream = 4;     // "C" followed by anything else

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Leading decimal digits, as the C library's atoi reads them (0 when none).
int number(std::string_view s) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    long v = 0;
    for (; i < s.size() && isDigit(s[i]) && v < 1'000'000'000; ++i) v = v * 10 + (s[i] - '0');
    return int(negative ? -v : v);
}

std::vector<int> numberList(std::string_view s) {
    std::vector<int> out;
    while (true) {
        const size_t comma = s.find(',');
        out.push_back(number(s.substr(0, comma)));
        if (comma == std::string_view::npos) return out;
        s.remove_prefix(comma + 1);
    }
}

int rgb(int r, int g, int b) { return (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16; }

// "C" r[,g[,b]][,r,g[,b][,bright[,contrast]]]: paper colour, then ink
// colour, brightness and contrast. Missing green and blue repeat red.
void colourSwitch(std::string_view rest, Settings& settings) {
    const std::vector<int> n = numberList(rest);
    auto at = [&n](size_t i, int fallback) { return i < n.size() ? n[i] : fallback; };
    settings.paperColor = rgb(n[0], at(1, n[0]), at(2, n[0]));
    settings.paperColorMode = kPaperModeGiven;
    if (n.size() > 3) {
        settings.inkColor = rgb(n[3], at(4, n[3]), at(5, n[3]));
        settings.inkColorMode = kPaperModeGiven;
    }
    if (n.size() > 6) settings.bright = n[6];
    if (n.size() > 7) settings.contrast = n[7];
}

// "CR" paper, ink, brightness, contrast, gamma as plain numbers.
void plainColourSwitch(std::string_view rest, Settings& settings) {
    const std::vector<int> n = numberList(rest);
    settings.paperColor = n[0];
    settings.paperColorMode = kPaperModeGiven;
    if (n.size() > 1) {
        settings.inkColor = n[1];
        settings.inkColorMode = kPaperModeGiven;
    }
    if (n.size() > 2) settings.bright = n[2];
    if (n.size() > 3) settings.contrast = n[3];
    if (n.size() > 4) settings.adjustGamma = n[4];
}

bool exactSwitch(std::string_view s, StartupRequest& r, Settings& settings) {
    struct Flag {
        std::string_view name;
        void (*apply)(StartupRequest&, Settings&);
    };
    static constexpr Flag kFlags[] = {
        {"TOP", [](StartupRequest& r, Settings&) { r.topMost = true; }},
        {"REGPRG", [](StartupRequest& r, Settings&) { r.registerProgram = true; }},
        {"ESC1", [](StartupRequest&, Settings& s) { s.enableEscKey = 1; }},
        {"ESC0", [](StartupRequest&, Settings& s) { s.enableEscKey = 0; }},
        {"OPEN", [](StartupRequest& r, Settings&) { r.openMode = true; }},
        {"PRINT", [](StartupRequest& r, Settings&) { r.printAll = true; }},
        // Batch conversion has no save dialog to offer the one-file option.
        {"ONE", [](StartupRequest& r, Settings&) { r.oneFile = true; }},
        {"SCAN", [](StartupRequest& r, Settings&) { r.scanMode = true; }},
        {"FIT", [](StartupRequest& r, Settings&) { r.sizeMode = 1; }},
        {"FILER", [](StartupRequest& r, Settings&) { r.filerMode = r.openMode = true; }},
        {"AS0", [](StartupRequest&, Settings& s) { s.autoScroll = 0; }},
        {"AS1", [](StartupRequest&, Settings& s) { s.autoScroll = 1; }},
        {"NS", [](StartupRequest& r, Settings&) { r.noSave = true; }},
        {"F", [](StartupRequest& r, Settings&) { r.faxAll = true; }},
        {"PM0", [](StartupRequest&, Settings& s) { s.useStretchBlt = 0; }},
        {"PM1", [](StartupRequest&, Settings& s) { s.useStretchBlt = 1; }},
        {"T0", [](StartupRequest& r, Settings&) { r.toolBar = false; }},
        {"T1", [](StartupRequest& r, Settings&) { r.toolBar = true; }},
        {"S", [](StartupRequest& r, Settings&) { r.sortFiles = true; }},
        {"S0", [](StartupRequest& r, Settings&) { r.statusBar = false; }},
        {"S1", [](StartupRequest& r, Settings&) { r.statusBar = true; }},
        {"MF0", [](StartupRequest& r, Settings&) { r.fileMenu = false; }},
        {"MF1", [](StartupRequest& r, Settings&) { r.fileMenu = true; }},
        {"MS0", [](StartupRequest& r, Settings&) { r.scanning = false; }},
        {"MS1", [](StartupRequest& r, Settings&) { r.scanning = true; }},
        {"MX0", [](StartupRequest& r, Settings&) { r.fax = false; }},
        {"MX1", [](StartupRequest& r, Settings&) { r.fax = true; }},
        {"M0", [](StartupRequest& r, Settings&) { r.menuMode = 0; }},
        {"M1", [](StartupRequest& r, Settings&) { r.menuMode = 1; }},
        {"M2", [](StartupRequest& r, Settings&) { r.menuMode = 1, r.fileMenu = false, r.scanning = false; }},
        {"M3", [](StartupRequest& r, Settings&) { r.menuMode = 1, r.scanning = false; }},
        {"CS0", [](StartupRequest&, Settings& s) { s.catchScroll = 0; }},
        // Copies the program starts itself pass "CS1" too: catch scrolling on.
        {"CS1", [](StartupRequest&, Settings& s) { s.catchScroll = 1; }},
        {"WMAX", [](StartupRequest& r, Settings&) { r.windowSizeMode = 2; }},
        {"G3", [](StartupRequest&, Settings& s) { s.outCode = 12; }},
        {"G3MH", [](StartupRequest&, Settings& s) { s.outCode = 12; }},
        {"G3MR", [](StartupRequest&, Settings& s) { s.outCode = 13; }},
        {"G4", [](StartupRequest&, Settings& s) { s.outCode = 14; }},
    };
    for (const auto& f : kFlags)
        if (s == f.name) {
            f.apply(r, settings);
            return true;
        }
    return false;
}

void prefixSwitch(std::string_view s, StartupRequest& r, Settings& settings) {
    auto after = [&s](std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; };
    if (after("T:")) {
        r.caption = std::string(s.substr(2));
    } else if (after("LP") && s.size() > 2 && isDigit(s[2])) {
        settings.setViewFlags(s[2] - '0');
    } else if (after("P.")) {
        r.firstPage = number(s.substr(2));
    } else if (after("#")) {
        r.faxNumber = std::string(s.substr(1));
    } else if (after("=")) {
        r.convertTarget = std::string(s.substr(1));
    } else if (after("CR")) {
        plainColourSwitch(s.substr(2), settings);
    } else if (after("C")) {
        if (s.size() > 1 && isDigit(s[1]))
            colourSwitch(s.substr(1), settings);
        else
            settings.paperColorMode = kPaperModeCream;
    } else if (after("H")) {
        r.windowHeight = number(s.substr(1));
        r.windowSizeMode = 1;
    } else if (after("W")) {
        if (s.size() > 1 && isDigit(s[1])) {
            r.windowWidth = number(s.substr(1));
            r.windowSizeMode = 1;
        } else {
            settings.paperColorMode = kPaperModeWhite;
        }
    } else if (after("X")) {
        r.windowX = number(s.substr(1));
    } else if (after("Y")) {
        if (s.size() > 1 && (isDigit(s[1]) || s[1] == '-'))
            r.windowY = number(s.substr(1));
        else
            settings.paperColorMode = kPaperModeBlueish;
    }
    // Anything else is not a switch of this program and is passed over.
}

}  // namespace

StartupRequest::ShellCommand StartupRequest::shellCommand() const {
    if (files.empty()) return ShellCommand::New;
    return printAll ? ShellCommand::Print : ShellCommand::Open;
}

StartupRequest::Store storeOf(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a.find("-USEINI") != std::string::npos) return StartupRequest::Store::Ini;
    return StartupRequest::Store::Default;
}

StartupRequest parseCommandLine(const std::vector<std::string>& args, Settings& settings) {
    StartupRequest r;
    // The store is chosen before anything else, wherever its switch stands.
    r.store = storeOf(args);
    applyStoredWindowSize(settings.windowSize, r);
    for (const auto& a : args) {
        if (a.size() > 1 && a[0] == '-') {
            const std::string_view s = std::string_view(a).substr(1);
            if (s == "USEINI" || s == "USEREG") continue;
            if (!exactSwitch(s, r, settings)) prefixSwitch(s, r, settings);
        } else if (r.files.size() < StartupRequest::kMaxFiles) {
            r.files.push_back(a);
        }
    }
    return r;
}

int conversionFirstNumber(const StartupRequest& request) {
    if (!request.faxNumber || request.faxNumber->empty()) return 1;
    int n = 0;
    for (const char c : *request.faxNumber) {
        if (c < '0' || c > '9' || n > 99999999) return 1;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace lumipage
