#include "fax/PhoneBookEditor.h"

namespace lumipage {

void PhoneBookEditor::open(const std::string& path) {
    book_.load(path);
    select(rows() - 1);
}

void PhoneBookEditor::select(int row) {
    selected_ = row >= 0 && row < rows() ? row : -1;
    if (onEntry()) {
        const PhoneEntry& e = book_.entries()[size_t(selected_)];
        name = e.displayName();
        fax = e.displayFax();
        telephone = e.displayTelephone();
    } else {
        clearFields();
    }
}

std::string PhoneBookEditor::position() const {
    if (book_.size() == 0) return " / ";
    return std::to_string(selected_ + 1) + "/" + std::to_string(book_.size());
}

bool PhoneBookEditor::registerFields() {
    PhoneEntry entry;
    if (selected_ < 0 || name.empty() || !PhoneEntry::fromDisplay(name, fax, telephone, entry)) return false;
    const int row = selected_;
    if (onEntry()) {
        book_.deleteEntry(size_t(row));
        book_.insertEntry(size_t(row), entry);
        select(row + 1 < rows() ? row + 1 : row);
        return true;
    }
    if (!book_.insertEntry(book_.size(), entry)) return false;
    selected_ = hasNewRow() ? row + 1 : row;
    clearFields();
    return true;
}

void PhoneBookEditor::clearFields() {
    name.clear();
    fax.clear();
    telephone.clear();
}

void PhoneBookEditor::addNew() {
    if (hasNewRow() && selected_ != int(book_.size())) select(int(book_.size()));
}

bool PhoneBookEditor::insertEmpty() {
    if (!onEntry() || !book_.insertEntry(size_t(selected_), PhoneEntry{})) return false;
    clearFields();
    return true;
}

bool PhoneBookEditor::removeSelected() {
    if (!onEntry()) return false;
    clipboard_ = book_.entries()[size_t(selected_)];
    book_.deleteEntry(size_t(selected_));
    select(selected_ < rows() ? selected_ : rows() - 1);
    return true;
}

bool PhoneBookEditor::remember() {
    if (!onEntry()) return false;
    clipboard_ = book_.entries()[size_t(selected_)];
    return true;
}

bool PhoneBookEditor::copyRemembered() {
    if (!clipboard_ || selected_ < 0 || !book_.insertEntry(size_t(selected_), *clipboard_)) return false;
    select(selected_);
    return true;
}

}  // namespace lumipage
