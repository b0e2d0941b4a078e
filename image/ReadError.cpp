#include "image/ReadError.h"

#include "base/Messages.h"
#include "image/BookHeader.h"

namespace lumipage {

std::string readErrorText(ReadError error, std::string_view fileName) {
    switch (error) {
        case ReadError::None: return {};
        case ReadError::CannotOpen: return "Failed to load file";
        case ReadError::CannotOpenBitmap: return "Failed to load DIB file";
        case ReadError::NoSuchPage: return "このページは存在しません";
        case ReadError::UnsupportedPage: return "このTIFFファイルはサポートされていません";
        case ReadError::TooLarge: return std::string(fileName) + "\nデータサイズが制限値を超えています";
        case ReadError::OutOfMemory: return "メモリー不足のため読み込めません";
        case ReadError::DataRead: return "データリードエラー";
        case ReadError::BadBookHeader: return book_file::kBadHeader;
        case ReadError::NewerBook: return book_file::kNewerVersion;
    }
    return {};
}

bool sayReadError(Messages& messages, ReadError error, std::string_view fileName) {
    if (error == ReadError::None) return true;
    messages.message(readErrorText(error, fileName));
    return false;
}

}  // namespace lumipage
