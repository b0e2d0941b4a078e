#pragma once
#include <string>

namespace lumipage {

class CLP98Doc;
class OpenFileTable;

// What "ブック情報" shows: the comment of the book shown (or, when an index
// file is in use and the current file is not a book, of the index file)
// followed by "ファイルバージョン：" and the header text of that file.
namespace book_information {

// Offered while pages are open and either an index file is in use or the current file is a book.
bool available(const OpenFileTable& table, const CLP98Doc& document);
std::string text(const OpenFileTable& table, const CLP98Doc& document);

}  // namespace book_information
}  // namespace lumipage
