#pragma once
#include <string>
#include <string_view>

namespace lumipage {

class Messages;

// What went wrong reading a file or one of its pages. Readers return it;
// the program's texts for it live in one place, readErrorText.
enum class ReadError {
    None,
    CannotOpen,        // not there, not readable, or not of the kind its name says
    CannotOpenBitmap,  // the same for a .BMP file, which has a text of its own
    NoSuchPage,        // a page the file's table leaves empty
    UnsupportedPage,   // a TIFF page of a kind the program does not show
    TooLarge,          // a side beyond the largest page
    OutOfMemory,
    DataRead,          // the page's data is cut short or cannot be read
    BadBookHeader,     // a book file without the book's magic, or too short for its header
    NewerBook,         // a book written by a newer version of the program
};

// The message a user is shown for it; `fileName` where the text names the file.
std::string readErrorText(ReadError error, std::string_view fileName);
// Says it through `messages` (nothing for None); true when there was no error.
bool sayReadError(Messages& messages, ReadError error, std::string_view fileName);

}  // namespace lumipage
