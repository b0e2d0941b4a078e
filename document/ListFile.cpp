#include "document/ListFile.h"

#include <utility>

#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace lumipage::list_file {

namespace {

constexpr uint8_t kListEnd = 0x1A;  // end-of-file mark of old text files

}  // namespace

bool isListFile(const std::string& path) {
    const std::string name = files::fileNameOf(path);
    if (!name.starts_with('@') || name.size() < 5) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return ext == ".LST";
}

std::vector<std::string> names(const std::vector<uint8_t>& bytes) {
    std::vector<std::string> tokens;
    std::string token;
    for (const uint8_t b : bytes) {
        if (b == 0 || b == kListEnd) break;
        if (b <= 0x20) {
            if (!token.empty()) tokens.push_back(text::fromCp932(std::exchange(token, {})));
            continue;
        }
        token += char(b);
    }
    if (!token.empty()) tokens.push_back(text::fromCp932(token));
    return tokens;
}

}  // namespace lumipage::list_file
