#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lumipage {

class Messages;

// A small grey picture of a page: 0 is ink, 255 paper, rows top-down.
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width x height bytes
};

// Page 1 of any file the program opens (TIFF, page files, fax files,
// bitmaps, books; an index file's first listed file), as the view shows it
// (its page word's turn, mirroring and inversion), reduced into grey by the
// view's own zoom levels: the largest level whose picture fits into `size`
// pixels on both sides. False when the file gives no page.
bool makePageThumbnail(const std::string& path, int size, Messages& messages, GreyPicture& picture);

// The thumbnail command: `args` are INPUT OUTPUT.png SIZE. Writes page 1 of
// INPUT as a grey PNG of at most SIZE pixels a side, for the desktop's file
// previews, and returns the exit status (0 written, 1 no page or not
// written, 2 a wrong command line, said on standard error). Needs no display.
int runThumbnailCommand(int argc, const char* const* args);

}  // namespace lumipage
