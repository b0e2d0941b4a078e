#include "fax/PhoneBook.h"

#include <algorithm>

#include "platform/AtomicFile.h"
#include "platform/File.h"
#include "platform/TextCodec.h"

namespace lumipage {

namespace {

constexpr size_t kFaxColumn = 0;
constexpr size_t kTelephoneColumn = 20;
constexpr size_t kNameColumn = 40;
constexpr size_t kColumns = 90;
constexpr size_t kMaxFileBytes = 16 * 1024 * 1024;  // far beyond any book of 1000 entries
constexpr std::string_view kHeader = "FAX                 TEL                 NAME";

// A code page 932 lead byte: the first of a two-byte character.
bool isLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// At most `bytes` bytes, never half a two-byte character.
std::string cutToWidth(std::string_view text, size_t bytes) {
    size_t i = 0;
    while (i < text.size()) {
        const size_t step = isLeadByte(uint8_t(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (i + step > bytes) break;
        i += step;
    }
    return std::string(text.substr(0, i));
}

std::string withoutTrailingBlanks(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ') --end;
    return std::string(text.substr(0, end));
}

void putColumn(std::string& line, std::string_view field, size_t width) {
    const std::string cut = cutToWidth(field, width);
    line += cut;
    line.append(width - cut.size(), ' ');
}

// The lines of a file without their CR LF (or LF) ends.
std::vector<std::string_view> splitLines(std::span<const uint8_t> file) {
    const std::string_view all(reinterpret_cast<const char*>(file.data()), file.size());
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        const size_t next = end == std::string_view::npos ? all.size() : end + 1;
        if (end == std::string_view::npos) end = all.size();
        std::string_view line = all.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = next;
    }
    return lines;
}

std::optional<std::string> encodedField(std::string_view utf8, size_t width) {
    const std::optional<std::string> bytes = text::toCp932(utf8);
    if (!bytes) return std::nullopt;
    return cutToWidth(*bytes, width);
}

}  // namespace

std::string PhoneEntry::displayName() const { return text::fromCp932(name); }
std::string PhoneEntry::displayFax() const { return text::fromCp932(fax); }
std::string PhoneEntry::displayTelephone() const { return text::fromCp932(telephone); }

bool PhoneEntry::fromDisplay(std::string_view n, std::string_view f, std::string_view t, PhoneEntry& entry) {
    const auto name = encodedField(n, kNameBytes);
    const auto fax = encodedField(f, kNumberBytes);
    const auto telephone = encodedField(t, kNumberBytes);
    if (!name || !fax || !telephone) return false;
    entry = {*name, *fax, *telephone};
    return true;
}

void PhoneBook::readColumns(std::span<const uint8_t> file) {
    const std::vector<std::string_view> lines = splitLines(file);
    for (size_t i = 1; i < lines.size() && entries_.size() < kMaxEntries; ++i) {
        const std::string_view line = lines[i];
        if (line.size() < kColumns) continue;
        PhoneEntry e{withoutTrailingBlanks(line.substr(kNameColumn, kColumns - kNameColumn)),
                     withoutTrailingBlanks(line.substr(kFaxColumn, kTelephoneColumn - kFaxColumn)),
                     withoutTrailingBlanks(line.substr(kTelephoneColumn, kNameColumn - kTelephoneColumn))};
        if (!e.name.empty()) entries_.push_back(std::move(e));
    }
}

void PhoneBook::readFreeLines(std::span<const uint8_t> file) {
    for (const std::string_view line : splitLines(file)) {
        if (entries_.size() >= kMaxEntries) break;
        size_t i = 0;
        auto skipBlanks = [&] {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        };
        skipBlanks();
        const size_t numberStart = i;
        while (i < line.size() && uint8_t(line[i]) > ' ') ++i;
        const std::string_view number = line.substr(numberStart, i - numberStart);
        skipBlanks();
        const size_t nameStart = i;
        while (i < line.size() && uint8_t(line[i]) >= ' ') ++i;
        PhoneEntry e{withoutTrailingBlanks(cutToWidth(line.substr(nameStart, i - nameStart), PhoneEntry::kNameBytes)),
                     cutToWidth(number, PhoneEntry::kNumberBytes), {}};
        if (!e.name.empty()) entries_.push_back(std::move(e));
    }
}

void PhoneBook::read(std::span<const uint8_t> file) {
    entries_.clear();
    if (file.size() >= 3 && file[0] == 'F' && file[1] == 'A' && file[2] == 'X')
        readColumns(file);
    else
        readFreeLines(file);
}

std::vector<uint8_t> PhoneBook::write() const {
    std::string out;
    out.reserve((entries_.size() + 1) * kLineBytes);
    putColumn(out, kHeader, kColumns);
    out += "\r\n";
    for (const PhoneEntry& e : entries_) {
        putColumn(out, e.fax, kTelephoneColumn - kFaxColumn);
        putColumn(out, e.telephone, kNameColumn - kTelephoneColumn);
        putColumn(out, e.name, kColumns - kNameColumn);
        out += "\r\n";
    }
    return std::vector<uint8_t>(out.begin(), out.end());
}

bool PhoneBook::load(const std::string& path) {
    File file;
    if (!file.open(path, File::Mode::Read)) return false;
    const int64_t size = file.size();
    if (size < 0 || uint64_t(size) > kMaxFileBytes) return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!file.readAt(0, bytes)) return false;
    read(bytes);
    return true;
}

bool PhoneBook::save(const std::string& path) const {
    if (entries_.empty()) return false;
    const std::vector<uint8_t> bytes = write();
    return writeFileAtomically(path, bytes);
}

void PhoneBook::sort() {
    // Comb sort, shrinking the gap by 10/13; gaps 9 and 10 become 11, which
    // leaves fewer turtles for the final passes at gap 1.
    const auto before = [](const PhoneEntry& a, const PhoneEntry& b) {
        return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                            [](char x, char y) { return uint8_t(x) < uint8_t(y); });
    };
    size_t gap = entries_.size();
    bool exchanged = true;
    while (gap > 1 || exchanged) {
        gap = gap * 10 / 13;
        if (gap == 9 || gap == 10) gap = 11;
        if (gap == 0) gap = 1;
        exchanged = false;
        for (size_t i = 0; i + gap < entries_.size(); ++i) {
            if (before(entries_[i + gap], entries_[i])) {
                std::swap(entries_[i], entries_[i + gap]);
                exchanged = true;
            }
        }
    }
}

bool PhoneBook::insertEntry(size_t index, const PhoneEntry& entry) {
    if (entries_.size() >= kMaxEntries || index >= kMaxEntries) return false;
    const PhoneEntry cut{cutToWidth(entry.name, PhoneEntry::kNameBytes), cutToWidth(entry.fax, PhoneEntry::kNumberBytes),
                         cutToWidth(entry.telephone, PhoneEntry::kNumberBytes)};
    if (index >= entries_.size()) {
        entries_.resize(index);
        entries_.push_back(cut);
    } else {
        entries_.insert(entries_.begin() + ptrdiff_t(index), cut);
    }
    return true;
}

bool PhoneBook::deleteEntry(size_t index) {
    if (index >= kMaxEntries || index >= entries_.size()) return false;
    entries_.erase(entries_.begin() + ptrdiff_t(index));
    return true;
}

std::string PhoneBook::entryLine(size_t index, Number which) const {
    if (index >= entries_.size()) return {};
    const PhoneEntry& e = entries_[index];
    std::string line = which == Number::Fax ? e.fax : e.telephone;
    if (line.size() < PhoneEntry::kNumberBytes) line.append(PhoneEntry::kNumberBytes - line.size(), ' ');
    return text::fromCp932(line + e.name);
}

}  // namespace lumipage
