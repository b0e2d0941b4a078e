#include "support/Class2ModemSimulator.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace lumipage::test {

namespace {

constexpr uint8_t kDle = 0x10;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kXon = 0x11;
constexpr uint8_t kXoff = 0x13;
constexpr int kQuietMs = 40;  // a pause this long ends the data a hung-up modem throws away

// The session parameters VR, BR, WD, LN, DF, EC, BF, ST (and class 2.0's
// JP) and the highest value each takes.
constexpr std::array<int, 9> kParameterMaximum{1, 5, 4, 2, 3, 2, 1, 7, 0};
constexpr const char* kParameterRanges = "(0,1),(0-5),(0-4),(0-2),(0-3),(0-2),(0,1),(0-7)";
constexpr const char* kParameterRanges20 = "(0,1),(0-5),(0-4),(0-2),(0-3),(0-2),(0,1),(0-7),(0)";
constexpr size_t kBR = 1, kST = 7;
constexpr size_t kMaxLocalId = 20;

std::string upper(std::string s) {
    for (char& c : s) c = char(std::toupper(uint8_t(c)));
    return s;
}

bool startsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }

bool allDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A decimal number of at most three digits within 0..maximum.
std::optional<int> number(const std::string& s, int maximum) {
    if (!allDigits(s) || s.size() > 3) return std::nullopt;
    const int value = std::atoi(s.c_str());
    if (value > maximum) return std::nullopt;
    return value;
}

// The characters a dial string may hold besides the digits.
bool dialCharacter(char c) {
    return (c >= '0' && c <= '9') || std::string_view("ABCD*#,TPW@!-() ./").find(c) != std::string_view::npos;
}

int numericCode(const std::string& line) {
    static const std::map<std::string, int> codes{{"OK", 0},         {"CONNECT", 1}, {"RING", 2},
                                                  {"NO CARRIER", 3}, {"ERROR", 4},   {"NO DIALTONE", 6},
                                                  {"BUSY", 7},       {"NO ANSWER", 8}};
    const auto found = codes.find(line);
    return found == codes.end() ? -1 : found->second;
}

}  // namespace

Class2ModemSimulator::Class2ModemSimulator(ModemScript script) : script_(std::move(script)) {
    class_ = script_.currentClass;
    echo_ = script_.echo && !script_.echoOffUntilE1;
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) return;
    const char* name = (grantpt(master_) == 0 && unlockpt(master_) == 0) ? ptsname(master_) : nullptr;
    if (name) {
        device_ = name;
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    if (slave_ < 0) {
        ::close(master_);
        master_ = -1;
        return;
    }
    thread_ = std::thread([this] { run(); });
}

Class2ModemSimulator::~Class2ModemSimulator() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

std::vector<std::string> Class2ModemSimulator::commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

std::vector<std::vector<uint8_t>> Class2ModemSimulator::pages() const {
    std::lock_guard lock(mutex_);
    return pages_;
}

std::vector<std::string> Class2ModemSimulator::negotiated() const {
    std::lock_guard lock(mutex_);
    return negotiated_;
}

size_t Class2ModemSimulator::dataBytesReceived() const { return dataBytes_; }

std::string Class2ModemSimulator::modemClass() const {
    std::lock_guard lock(mutex_);
    return class_;
}

std::vector<uint8_t> Class2ModemSimulator::asG3File(const std::vector<uint8_t>& page) { return page; }

std::vector<std::string> Class2ModemSimulator::violations() const {
    std::lock_guard lock(mutex_);
    return violations_;
}

void Class2ModemSimulator::violation(const std::string& what) {
    std::lock_guard lock(mutex_);
    violations_.push_back(what);
}

bool Class2ModemSimulator::class20() const {
    const std::string c = modemClass();
    return c == "2.0" || c == "2.1";
}

// "VR,BR,WD,LN,DF,EC,BF,ST[,JP]": up to eight (class 2.0: nine) decimal
// values in range; an empty or missing value keeps the one in `base`.
std::optional<Class2ModemSimulator::Parameters> Class2ModemSimulator::parse(const std::string& text,
                                                                            Parameters base) const {
    size_t index = 0, start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (index >= parameterCount()) return std::nullopt;
        if (!item.empty()) {
            const std::optional<int> value = number(item, kParameterMaximum[index]);
            if (!value) return std::nullopt;
            base[index] = *value;
        }
        ++index;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return base;
}

std::string Class2ModemSimulator::joined(const Parameters& values) const {
    std::string text;
    for (size_t i = 0; i < parameterCount(); ++i) text += (i ? "," : "") + std::to_string(values[i]);
    return text;
}

void Class2ModemSimulator::report(const std::string& name20, const std::string& name2, const std::string& value) {
    say("+" + (script_.mixedReports ? name2 : name20) + ":" + value);
}

// A hang-up status: +FHNG: in decimal, or in class 2.0 +FHS: with the
// same two digits in hexadecimal (100 is A0).
std::string Class2ModemSimulator::hangUpReport(int class2Code) {
    if (!class20() || script_.mixedReports) return "+FHNG:" + std::to_string(class2Code);
    static constexpr char kHex[] = "0123456789ABCDEF";
    const int tens = std::clamp(class2Code / 10, 0, 15), ones = class2Code % 10;
    return std::string("+FHS:") + kHex[tens] + kHex[ones];
}

void Class2ModemSimulator::run() {
    uint8_t buffer[256];
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        const int r = ::poll(&p, 1, discarding_ ? kQuietMs : 10);
        if (r == 0 && discarding_) discarding_ = false;
        if (r <= 0 || !(p.revents & POLLIN)) continue;
        const bool data = phase_ == Phase::PageData;
        const size_t want = data && script_.slowReadMicros > 0 ? 64 : sizeof buffer;
        const ssize_t n = ::read(master_, buffer, want);
        if (n <= 0) continue;
        for (ssize_t i = 0; i < n; ++i) handleByte(buffer[i]);
        if (data) pace(size_t(n));
        if (data && script_.slowReadMicros > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(script_.slowReadMicros));
    }
}

int Class2ModemSimulator::bitRate() const { return 2400 * (current_[kBR] + 1); }

// Page data leaves at the line's bit rate: reading waits for the line.
void Class2ModemSimulator::pace(size_t bytes) {
    const auto now = std::chrono::steady_clock::now();
    const double seconds = double(bytes) * 8 / bitRate() * script_.timeScale;
    lineFree_ = std::max(now, lineFree_) +
                std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
    std::this_thread::sleep_until(lineFree_);
}

// Waits a modem's time; any byte from the program during it breaks it off
// (a modem abandons a call when a key is pressed) and false is returned.
bool Class2ModemSimulator::waitQuietly(double realSeconds) {
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double>(realSeconds * script_.timeScale));
    while (!stop_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return true;
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, int(std::min<int64_t>(left.count(), 10))) > 0 && (p.revents & POLLIN)) {
            uint8_t drop[64];
            ::read(master_, drop, sizeof drop);
            return false;
        }
    }
    return false;
}

void Class2ModemSimulator::writeRaw(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return;
        done += size_t(n);
    }
}

// An information line (+F... reports).
void Class2ModemSimulator::say(const std::string& line) {
    if (script_.silent) return;
    writeRaw("\r\n" + (script_.garbage.empty() ? line : script_.garbage) + "\r\n");
}

// A result code: hidden by Q1, a number under V0.
void Class2ModemSimulator::result(const std::string& line) {
    if (script_.silent || quiet_) return;
    const std::string base = startsWith(line, "CONNECT") ? "CONNECT" : line;
    if (!verbose_ && script_.garbage.empty() && numericCode(base) >= 0) {
        writeRaw(std::to_string(numericCode(base)) + "\r");
        return;
    }
    say(line);
}

void Class2ModemSimulator::handleByte(uint8_t byte) {
    if (discarding_) return;
    if (phase_ == Phase::PageData) return handleDataByte(byte);
    if (echo_) writeRaw(std::string(1, char(byte)));
    if (byte == '\r') {
        std::string line;
        line.swap(line_);
        if (!line.empty()) handleCommand(line);
    } else if (byte != '\n') {
        line_.push_back(char(byte));
    }
}

void Class2ModemSimulator::handleDataByte(uint8_t byte) {
    ++dataBytes_;
    ++pageBytes_;
    const int index = pagesReceived_;
    if (index == script_.xoffPage && pageBytes_ == size_t(script_.xoffAfterBytes)) {
        writeRaw(std::string(1, char(kXoff)));
        std::this_thread::sleep_for(std::chrono::milliseconds(script_.xoffMs));
        writeRaw(std::string(1, char(kXon)));
    }
    const bool hangUp = index == script_.hangUpPage && pageBytes_ == size_t(script_.hangUpAfterBytes);
    const bool carrierLost = index == script_.noCarrierPage && pageBytes_ == size_t(script_.noCarrierAfterBytes);
    if (hangUp || carrierLost) {
        if (hangUp) say(hangUpReport(script_.hangUpCode));
        else result("NO CARRIER");
        phase_ = Phase::Idle;
        discarding_ = true;
        page_.clear();
        return;
    }
    if (afterDle_) {
        afterDle_ = false;
        if (byte == kDle) {
            page_.push_back(kDle);
        } else if (class20()) {
            if (byte == ',' || byte == ';' || byte == '.') return endPage20(byte);
            char what[64];
            std::snprintf(what, sizeof what, "DLE %02X ends class 2.0 page data", byte);
            violation(what);
            say(hangUpReport(43));  // no post-page message came: the call is abandoned
            phase_ = Phase::Idle;
            discarding_ = true;
            page_.clear();
        } else if (byte == kEtx) {
            endPage();
        }
        return;
    }
    if (byte == kDle)
        afterDle_ = true;
    else
        page_.push_back(byte);
}

void Class2ModemSimulator::endPage() {
    {
        std::lock_guard lock(mutex_);
        pages_.push_back(std::move(page_));
    }
    ++pagesReceived_;
    page_.clear();
    phase_ = Phase::PostPage;
    result("OK");
}

// The page is received and confirmed; after EOP the call ends.
void Class2ModemSimulator::endPage20(uint8_t message) {
    {
        std::lock_guard lock(mutex_);
        pages_.push_back(std::move(page_));
    }
    page_.clear();
    const auto status = script_.pageStatus.find(pagesReceived_);
    ++pagesReceived_;
    const int ppr = status == script_.pageStatus.end() ? 1 : status->second;
    report("FPS", "FPTS", std::to_string(ppr) + (script_.mixedReports ? "" : ",2290,0,0,0"));
    if (message == '.') {
        say(hangUpReport(0));
        phase_ = Phase::Idle;
    } else {
        phase_ = Phase::Call;
    }
    result("OK");
}

void Class2ModemSimulator::dial(const std::string& command) {
    const bool voice = command.back() == ';';
    std::string number = command.substr(3, voice ? command.size() - 4 : std::string::npos);
    if (!number.empty() && (number[0] == 'T' || number[0] == 'P')) number.erase(0, 1);
    if (phase_ != Phase::Idle || !std::all_of(number.begin(), number.end(), dialCharacter) ||
        std::none_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        result("ERROR");
        return;
    }
    const std::vector<std::string>& results = script_.dialResults;
    const std::string outcome = results.empty() ? "" : results[std::min<size_t>(dialAttempt_, results.size() - 1)];
    ++dialAttempt_;
    if (!waitQuietly(script_.dialSeconds)) {
        result("NO CARRIER");
        return;
    }
    if (voice) {  // a voice call stays in command mode
        result(outcome.empty() ? "OK" : outcome);
        return;
    }
    if (!outcome.empty()) {
        result(outcome);
        return;
    }
    if (modemClass() != "2" && !class20()) {  // a data call: the fax machine's tones are no carrier
        result("NO CARRIER");
        return;
    }
    if (class20()) {
        say("+FCO");
        if (reports_[3] && !script_.nonStandard.empty()) say("+FNF:" + script_.nonStandard);
        if (reports_[2]) report("FCI", "FCSI", " \"" + script_.calledStation + "\"");
        if (reports_[2] && !script_.transmittingStation.empty())
            report("FTI", "FTSI", " \"" + script_.transmittingStation + "\"");
        if (reports_[0]) report("FIS", "FDIS", joined(parse(script_.receiverDis, Parameters{}).value_or(Parameters{})));
        phase_ = Phase::Call;
        result("OK");
        return;
    }
    if (script_.reportAnswerTone) say("CED");
    say("+FCON");
    if (!script_.nonStandard.empty()) say("+FNSF:" + script_.nonStandard);
    say("+FCSI: \"" + script_.calledStation + "\"");
    if (!script_.transmittingStation.empty()) say("+FTSI: \"" + script_.transmittingStation + "\"");
    say("+FDIS:" + script_.receiverDis);
    phase_ = Phase::Call;
    result("OK");
}

// Phase B before a page: the modem sends what AT+FDIS asked, cut down to
// what the receiver offered and what the modem can, trains and connects.
void Class2ModemSimulator::startPage() {
    const Parameters own = parse(script_.capabilities, Parameters{}).value_or(Parameters{});
    const Parameters asked = session_.value_or(capabilities_.value_or(own));
    const Parameters offered = parse(script_.receiverDis, asked).value_or(asked);
    for (size_t i = 0; i < current_.size(); ++i) current_[i] = std::min({asked[i], offered[i], own[i]});
    current_[kST] = offered[kST];
    if (!waitQuietly(script_.trainingSeconds)) {
        say(hangUpReport(20));
        phase_ = Phase::Idle;
        result("OK");
        return;
    }
    const std::string dcs = joined(current_);
    {
        std::lock_guard lock(mutex_);
        negotiated_.push_back(dcs);
    }
    if (class20()) {
        if (reports_[1]) report("FCS", "FDCS", dcs);
        result("CONNECT");
    } else {
        say("+FDCS:" + dcs);
        if (script_.reportConfirmation) say("+FCFR");
        result("CONNECT");
        writeRaw(std::string(1, char(kXon)));  // ready for data
    }
    phase_ = Phase::PageData;
    afterDle_ = false;
    pageBytes_ = 0;
    page_.clear();
    lineFree_ = std::chrono::steady_clock::now();
}

void Class2ModemSimulator::handleCommand(const std::string& raw) {
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(raw);
    }
    const std::string c = upper(raw);
    if (!startsWith(c, "AT")) return;  // not for the modem: ignored
    size_t at = 2;
    while (at < c.size()) {
        const char letter = c[at];
        if (letter == ' ') {
            ++at;
            continue;
        }
        if (letter == 'D') return dial("AT" + c.substr(at));
        if (letter == '+') {
            if (!runExtended(c.substr(at + 1))) return result("ERROR");
            if (phase_ == Phase::PageData) return;  // CONNECT was the answer
            break;
        }
        if (!runBasic(c, at)) return result("ERROR");
    }
    result("OK");
    if (!script_.ringAfterCommand.empty() && upper(script_.ringAfterCommand) == c) result("RING");
}

// One basic command at `at`: a letter (or & and a letter) and its number,
// or S-register access; moves `at` past it.
bool Class2ModemSimulator::runBasic(const std::string& c, size_t& at) {
    auto digits = [&c](size_t& i) {
        const size_t start = i;
        while (i < c.size() && c[i] >= '0' && c[i] <= '9') ++i;
        return c.substr(start, i - start);
    };
    char letter = c[at++];
    if (letter == '&') {
        if (at >= c.size()) return false;
        letter = char(std::tolower(uint8_t(c[at++])));
    }
    if (letter == 'S') {
        const std::optional<int> reg = number(digits(at), 255);
        if (!reg) return false;
        if (at < c.size() && c[at] == '?') {
            ++at;
            say("000");
            return true;
        }
        if (at >= c.size() || c[at] != '=') return false;
        ++at;
        return number(digits(at), 255).has_value();
    }
    // The highest value of each command; its number may be left out for 0.
    static const std::map<char, int> maximum{{'E', 1}, {'Q', 1}, {'V', 1}, {'H', 1}, {'X', 4}, {'M', 3},
                                             {'L', 3}, {'Z', 0}, {'f', 0}, {'c', 1}, {'d', 3}, {'k', 6}};
    const auto found = maximum.find(letter);
    if (found == maximum.end()) return false;
    const std::string given = digits(at);
    const std::optional<int> value = given.empty() ? std::optional<int>(0) : number(given, found->second);
    if (!value) return false;
    switch (letter) {
        case 'E': echo_ = script_.echo && *value == 1; break;
        case 'Q': quiet_ = *value == 1; break;
        case 'V': verbose_ = *value == 1; break;
        case 'H':
            phase_ = Phase::Idle;
            break;
        case 'Z':
        case 'f':
            quiet_ = false;
            verbose_ = true;
            echo_ = script_.echo;
            session_.reset();
            capabilities_.reset();
            reports_ = {};
            break;
        default: break;
    }
    return true;
}

// "+F..." takes the rest of the line: a class 2 command ends its line.
bool Class2ModemSimulator::runExtended(const std::string& rest) {
    if (!startsWith(rest, "F")) return false;
    size_t nameEnd = 1;
    while (nameEnd < rest.size() && std::isalpha(uint8_t(rest[nameEnd]))) ++nameEnd;
    const std::string name = rest.substr(0, nameEnd);
    const std::string tail = rest.substr(nameEnd);
    if (name == "FCLASS") {
        if (tail == "=?") {
            say(script_.classes);
            return true;
        }
        if (tail == "?") {
            say(modemClass());
            return true;
        }
        if (!startsWith(tail, "=") || phase_ != Phase::Idle) return false;
        const std::string value = tail.substr(1);
        std::vector<std::string> offered;
        for (size_t start = 0;;) {
            const size_t comma = script_.classes.find(',', start);
            offered.push_back(script_.classes.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        if (std::find(offered.begin(), offered.end(), value) == offered.end()) return false;
        std::lock_guard lock(mutex_);
        class_ = value;
        return true;
    }
    if (class20()) return runFax20(name, tail);
    if (modemClass() != "2") return false;  // every other fax command is a class 2 command
    return runFax(name, tail);
}

bool Class2ModemSimulator::runParameters(const std::string& name, const std::string& tail, bool capabilities) {
    std::optional<Parameters>& stored = capabilities ? capabilities_ : session_;
    if (tail == "=?") {
        say(class20() ? kParameterRanges20 : kParameterRanges);
        return true;
    }
    const Parameters own = parse(script_.capabilities, Parameters{}).value_or(Parameters{});
    if (tail == "?") {
        if (capabilities && !capabilities_ && !class20()) say(script_.capabilities);
        else say((class20() ? "+" + name + ":" : "") + joined(stored.value_or(capabilities_.value_or(own))));
        return true;
    }
    if (!startsWith(tail, "=") || tail.size() == 1) return false;
    const std::optional<Parameters> set = parse(tail.substr(1), stored.value_or(capabilities_.value_or(own)));
    if (!set) return false;
    stored = set;
    return true;
}

// A quoted string of at most 20 printable characters.
bool Class2ModemSimulator::runLocalId(const std::string& tail) {
    if (tail == "=?") {
        say("(20),(32-127)");
        return true;
    }
    if (tail == "?") {
        say("\"" + localId_ + "\"");
        return true;
    }
    if (tail.size() < 3 || tail[0] != '=' || tail[1] != '"' || tail.back() != '"') return false;
    const std::string id = tail.substr(2, tail.size() - 3);
    if (id.size() > kMaxLocalId || id.find('"') != std::string::npos ||
        !std::all_of(id.begin(), id.end(), [](char ch) { return ch >= 0x20 && ch <= 0x7e; }))
        return false;
    localId_ = id;
    return true;
}

// A setting of `count` values of 0 to `highest` each: "=?" gives the range,
// "?" the value; `values` receives what "=" sets.
bool Class2ModemSimulator::runSetting(const std::string& tail, int count, int highest, std::vector<int>& values) {
    if (tail == "=?") {
        say(highest == 1 ? "(0,1)" : "(0-" + std::to_string(highest) + ")");
        return true;
    }
    if (tail == "?") {
        say("0");
        return true;
    }
    if (!startsWith(tail, "=")) return false;
    for (size_t start = 1;;) {
        const size_t comma = tail.find(',', start);
        const std::optional<int> v =
            number(tail.substr(start, comma == std::string::npos ? std::string::npos : comma - start), highest);
        if (!v) return false;
        values.push_back(*v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return values.size() <= size_t(count);
}

// AT+FDT: the page's data, in a call only.
bool Class2ModemSimulator::runPageData(const std::string& tail) {
    if (!tail.empty() || phase_ != Phase::Call) return false;
    startPage();
    return true;
}

// The class 2.0 commands of a sending call; the class 2 names are unknown.
bool Class2ModemSimulator::runFax20(const std::string& name, const std::string& tail) {
    if (name == "FCC" || name == "FIS") return runParameters(name, tail, name == "FCC");
    if (name == "FLI") return runLocalId(tail);
    // Settings of one value or of flags: bit order 0-3, flow control 0-2.
    static const std::map<std::string, std::pair<int, int>> kSettings{
        {"FBO", {1, 3}}, {"FLO", {1, 2}}, {"FCR", {1, 1}}, {"FAA", {1, 1}}, {"FNR", {4, 1}}, {"FCQ", {2, 2}}, {"FIE", {1, 1}}};
    const auto setting = kSettings.find(name);
    if (setting != kSettings.end()) {
        std::vector<int> values;
        if (!runSetting(tail, setting->second.first, setting->second.second, values)) return false;
        if (name == "FNR")
            for (size_t i = 0; i < values.size(); ++i) reports_[i] = values[i] == 1;
        return true;
    }
    if (name == "FDT") return runPageData(tail);
    if (name == "FKS") {
        if (!tail.empty()) return false;
        if (phase_ != Phase::Idle) say(hangUpReport(2));
        phase_ = Phase::Idle;
        return true;
    }
    return false;
}

bool Class2ModemSimulator::runFax(const std::string& name, const std::string& tail) {
    if (name == "FDCC" || name == "FDIS") return runParameters(name, tail, name == "FDCC");
    if (name == "FLID") return runLocalId(tail);
    if (name == "FBOR" || name == "FCR" || name == "FAA") {
        std::vector<int> values;
        return runSetting(tail, 1, name == "FBOR" ? 3 : 1, values);
    }
    if (name == "FDT") return runPageData(tail);
    if (name == "FET") {
        if (!startsWith(tail, "=") || phase_ != Phase::PostPage) return false;
        const std::optional<int> message = number(tail.substr(1), 5);  // MPS, EOM, EOP and their PRI- forms
        if (!message) return false;
        const auto status = script_.pageStatus.find(pagesReceived_ - 1);
        say("+FPTS:" + std::to_string(status == script_.pageStatus.end() ? 1 : status->second));
        if (*message == 2 || *message == 5) {
            say("+FHNG:0");
            phase_ = Phase::Idle;
        } else {
            phase_ = Phase::Call;
        }
        return true;
    }
    if (name == "FK") {
        if (!tail.empty()) return false;
        if (phase_ != Phase::Idle) say("+FHNG:0");
        phase_ = Phase::Idle;
        return true;
    }
    return false;
}

}  // namespace lumipage::test
