// Phone book reading: the input is the file. Whatever it holds, the book
// keeps its limits and writes back as whole lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fax/PhoneBook.h"

using namespace lumipage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1 << 16)) return 0;
    PhoneBook book;
    book.read({data, size});
    if (book.size() > PhoneBook::kMaxEntries) std::abort();
    for (const PhoneEntry& e : book.entries())
        if (e.name.empty() || e.name.size() > PhoneEntry::kNameBytes || e.fax.size() > PhoneEntry::kNumberBytes ||
            e.telephone.size() > PhoneEntry::kNumberBytes)
            std::abort();
    const std::vector<uint8_t> file = book.write();
    if (file.size() != (book.size() + 1) * PhoneBook::kLineBytes) std::abort();
    PhoneBook again;
    again.read(file);
    if (again.size() > book.size()) std::abort();
    book.sort();
    for (size_t i = 0; i < book.size(); ++i) book.entryLine(i, PhoneBook::Number::Fax);
    return 0;
}
