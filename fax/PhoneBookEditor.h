#pragma once
#include <optional>
#include <string>

#include "fax/PhoneBook.h"

namespace lumipage {

// The phone book edit dialog without its widgets: the rows (one per entry
// and, while the book has room, an empty row for a new entry), the selected
// row, the three edit fields and a clipboard of one entry. The dialog shows
// what this holds and calls one operation per button.
class PhoneBookEditor {
public:
    explicit PhoneBookEditor(PhoneBook& book) : book_(book) {}

    // Loads the book and selects the last row; `close` saves it (an empty book is not written).
    void open(const std::string& path);
    bool close(const std::string& path) const { return book_.save(path); }

    int rows() const { return int(book_.size()) + (hasNewRow() ? 1 : 0); }
    int selected() const { return selected_; }
    bool isNewRow(int row) const { return hasNewRow() && row == int(book_.size()); }
    // Copies the row's columns into the fields.
    void select(int row);
    // "%u/%u" (row, entries) for the selected row, " / " for an empty book.
    std::string position() const;

    std::string name, fax, telephone;  // the edit fields, UTF-8

    // The buttons. `registerFields` fails when nothing is selected, the
    // name is empty or a field holds a character the file cannot store.
    bool registerFields();
    void clearFields();
    void addNew();
    bool insertEmpty();
    bool removeSelected();
    bool remember();
    bool copyRemembered();
    const std::optional<PhoneEntry>& clipboard() const { return clipboard_; }

private:
    bool hasNewRow() const { return book_.size() < PhoneBook::kMaxEntries; }
    bool onEntry() const { return selected_ >= 0 && selected_ < int(book_.size()); }

    PhoneBook& book_;
    int selected_ = -1;
    std::optional<PhoneEntry> clipboard_;
};

}  // namespace lumipage
