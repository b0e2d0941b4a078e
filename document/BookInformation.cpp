#include "document/BookInformation.h"

#include <fstream>

#include "comments/CommentFile.h"
#include "document/CLP98Doc.h"
#include "document/OpenFileTable.h"
#include "platform/TextCodec.h"

namespace lumipage::book_information {

namespace {

bool showsBook(const CLP98Doc& document) { return document.isLoaded() && document.type() == FileTypeCode::Book; }

// "LumipageIndex 2.1" from the index file's first line "<LumipageIndex 2.1>".
std::string indexHeaderText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == '>' || line.back() == ' ')) line.pop_back();
    if (!line.empty() && line.front() == '<') line.erase(0, 1);
    return text::fromCp932(line);
}

}  // namespace

bool available(const OpenFileTable& table, const CLP98Doc& document) {
    return table.totalPages() > 0 && (table.index().inUse || showsBook(document));
}

std::string text(const OpenFileTable& table, const CLP98Doc& document) {
    std::string commented, header;
    if (showsBook(document)) {
        commented = document.path();
        header = document.bookHeaderText();
    } else if (table.index().inUse) {
        commented = table.index().path;
        header = indexHeaderText(commented);
    } else {
        return {};
    }
    std::string out;
    if (const auto stored = CommentFile::source(commented)) {
        out = text::fromCp932(*stored);
        if (!out.empty() && out.back() != '\n') out += "\r\n";
    }
    return out + "ファイルバージョン：" + header;
}

}  // namespace lumipage::book_information
