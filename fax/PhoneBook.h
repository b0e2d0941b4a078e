#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumipage {

// One entry of the phone book. The fields hold code page 932 bytes as the
// file stores them, so that an entry goes back to the file unchanged; the
// display forms are UTF-8.
struct PhoneEntry {
    static constexpr size_t kNameBytes = 50;
    static constexpr size_t kNumberBytes = 20;

    std::string name;
    std::string fax;
    std::string telephone;

    std::string displayName() const;
    std::string displayFax() const;
    std::string displayTelephone() const;
    // From UTF-8, each field cut to its width on a character boundary;
    // false when a character has no code page 932 form.
    static bool fromDisplay(std::string_view name, std::string_view fax, std::string_view telephone,
                            PhoneEntry& entry);

    friend bool operator==(const PhoneEntry&, const PhoneEntry&) = default;
};

// The phone book: up to 1000 entries in list order, kept in a text file
// with fixed columns (fax number, telephone number, name), code page 932,
// CR LF line ends. A file in any other layout is read as free lines of
// "number name".
class PhoneBook {
public:
    static constexpr size_t kMaxEntries = 1000;
    static constexpr size_t kLineBytes = 92;  // 90 columns and CR LF
    static constexpr const char* kFileName = "LpNormal.TEL";

    enum class Number { Fax, Telephone };

    const std::vector<PhoneEntry>& entries() const { return entries_; }
    size_t size() const { return entries_.size(); }
    void clear() { entries_.clear(); }

    // Replaces the book by the file's entries; when the file cannot be read
    // the book stays as it was.
    bool load(const std::string& path);
    // Writes the whole book at once. An empty book is not written: the file
    // keeps what it held.
    bool save(const std::string& path) const;

    // The file's bytes and back.
    void read(std::span<const uint8_t> file);
    std::vector<uint8_t> write() const;

    // By name in code page order, ascending.
    void sort();
    bool insertEntry(size_t index, const PhoneEntry& entry);
    bool deleteEntry(size_t index);
    // The pick-list text: the number padded to 20 columns, then the name (UTF-8).
    std::string entryLine(size_t index, Number which) const;

private:
    void readColumns(std::span<const uint8_t> file);
    void readFreeLines(std::span<const uint8_t> file);

    std::vector<PhoneEntry> entries_;
};

}  // namespace lumipage
