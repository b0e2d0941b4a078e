#pragma once
#include <functional>
#include <memory>
#include <string>

#include "document/FileTypeCode.h"
#include "document/PageWord.h"
#include "image/FaxPageFileWriter.h"
#include "image/FitScaler.h"
#include "image/LpPageFileWriter.h"
#include "image/PdfWriter.h"
#include "image/PageRaster.h"
#include "image/TiffWriter.h"

namespace lumipage {

class AtomicFileWriter;
class BookWriter;
class CDIB;
class Messages;

// One page as it is to be written: the raster as shown, and what the
// writers need to know of where it came from. A book keeps each page as it
// was read together with its word, so that the book shows it as the window
// did; every other target holds the page as shown.
struct PageToWrite {
    const PageRaster* raster = nullptr;
    const PageRaster* asRead = nullptr;  // before the word's turn, mirroring and inversion; null: as `raster`
    PageWord word;
    const CDIB* keptBitmap = nullptr;  // the bitmap an untransformed bitmap page was read from
    std::string titleCp932;            // title for page file headers
};

inline constexpr const char* kSaveMhFailed = "Failed to save MH file";
inline constexpr const char* kSaveTiffFailed = "Failed to save TIFF file";
inline constexpr const char* kSaveDibFailed = "Failed to save DIB file";
inline constexpr const char* kSaveFileFailed = "Failed to save file";
inline constexpr const char* kSavePdfFailed = "Failed to save PDF file";

// What the user is told when a file of this type cannot be saved, whatever failed.
const char* saveFailureText(FileTypeCode type);

// Writes pages into files of one type: a single page as a whole file, or
// many pages into one file. Every file is written beside its target under a
// temporary name and renamed over the target only when it is complete, so a
// failed or interrupted write never leaves a partial file under the target's
// name and never loses the file it was to replace. A failure is said once,
// here, with the target's name and the text of its type, and is returned as
// what failed.
class TargetWriter {
public:
    TargetWriter(int outCode, Messages& messages);
    ~TargetWriter();
    TargetWriter(const TargetWriter&) = delete;
    TargetWriter& operator=(const TargetWriter&) = delete;

    // The TIFF coding setting for the next pages.
    void setOutCode(int outCode) { outCode_ = outCode; }

    // `dpi`: the resolution a page file is written at; 0 = the page's own.
    WriteResult writeSingle(const std::string& path, FileTypeCode type, int dpi, const PageToWrite& page);

    // Many pages: page files, TIFF and books. `pageStartPosition` is a book's.
    WriteResult begin(const std::string& path, FileTypeCode type, int dpi, int plannedPages, int pageStartPosition);
    WriteResult append(const PageToWrite& page);
    // Completes the file and puts it under its name; `indexFile` is the index
    // in use, whose comment a book takes; `fillBookComment` adds the pages'
    // comments to a book's comment file before the book embeds it.
    WriteResult finish(const std::string& indexFile, const std::function<void()>& fillBookComment = {});
    void abandon();
    int pagesWritten() const { return written_; }

private:
    WriteResult failed(const std::string& path, WriteResult result);
    // The page in the geometry a page file at `dpi` needs (itself when it fits as it is).
    const PageRaster* forPageFile(const PageRaster& page, int dpi, bool single);
    const PageRaster* forFax(const PageRaster& page);
    WriteResult writeBitmap(const PageToWrite& page);
    WriteResult writePageFile(const PageToWrite& page, int dpi);
    WriteResult appendToPageFile(const PageToWrite& page);

    int outCode_;
    Messages& messages_;
    std::unique_ptr<AtomicFileWriter> out_;
    std::unique_ptr<BookWriter> book_;
    FileTypeCode type_ = FileTypeCode::Unsupported;
    std::string path_;
    int dpi_ = 0;
    int planned_ = 0;
    int written_ = 0;
    bool begun_ = false;
    TiffWriter tiff_;
    PdfWriter pdf_;
    LpPageFileWriter pageFile_;
    FaxPageFileWriter fax_;
    FitScaler scaler_;
    PageRaster fitted_;
    PageRaster geometry_;  // a multi-page page file's page size
};

}  // namespace lumipage
