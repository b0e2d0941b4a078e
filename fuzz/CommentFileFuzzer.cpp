// Comment text: page sections read and rewritten, contents and keyword lists,
// standard items. The first byte chooses the page.
#include <cstddef>
#include <cstdint>
#include <string>

#include "comments/BookContents.h"
#include "comments/CommentFile.h"
#include "comments/StandardItems.h"
#include "platform/TextCodec.h"

using namespace lumipage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (1 << 16)) return 0;
    const int page = data[0] % 12;
    const std::string_view stored(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string_view section = CommentFile::sectionOf(stored, page);
    const bool inside = section.data() >= stored.data() &&
                        section.data() + section.size() <= stored.data() + stored.size();
    if (!section.empty() && !inside) __builtin_trap();
    // A section always lies inside the text; rewriting and removing it never fails.
    const std::string rewritten = CommentFile::withSection(stored, page, "x\r\n");
    CommentFile::sectionOf(rewritten, page);
    CommentFile::withSection(rewritten, page, "");
    const std::string text = text::fromCp932(stored);
    contentsEntriesOfText(text, 1, page);
    KeywordIndex index;
    index.addText(text, 1, page + 1);
    withStandardItems(text, FileKind(page % 7));
    return 0;
}
