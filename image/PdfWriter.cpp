#include "image/PdfWriter.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "image/PageCoding.h"
#include "image/PageRaster.h"
#include "platform/File.h"

namespace lumipage {

namespace {

// Objects 1 and 2 are the catalogue and the page tree; pages take three
// objects each (page, contents, image) from 3 on.
constexpr int kCatalogue = 1;
constexpr int kPageTree = 2;
// The margin in points between the image and the page's edges: far below a
// pixel at any resolution a page is shown or printed at.
constexpr double kEdge = 0.001;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    // Trailing zeros say nothing; "612.0000" is written "612".
    std::string s(text);
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

}  // namespace

double PdfWriter::points(int32_t pixels, int32_t dpi) {
    const double exact = double(pixels) * 72.0 / double(dpi > 0 ? dpi : kAssumedDpi);
    // Written with four decimals, and a hair short: renderers round a page
    // up to whole pixels, and an exact size that comes out a trifle above a
    // whole number at the page's own resolution would add a row.
    return std::floor(exact * 10000.0) / 10000.0 - 0.0001;
}

int PdfWriter::startObject() {
    offsets_.push_back(position_);
    return int(offsets_.size());
}

bool PdfWriter::putBytes(File& file, const uint8_t* data, size_t size) {
    if (!file.writeAt(position_, std::span(data, size))) return false;
    position_ += int64_t(size);
    return true;
}

bool PdfWriter::put(File& file, const std::string& text) {
    return putBytes(file, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

WriteResult PdfWriter::begin(File& file) {
    offsets_.assign(2, 0);  // the catalogue and the page tree come at the end
    pageObjects_.clear();
    position_ = 0;
    // The comment of high bytes tells transfer programs the file is binary.
    return written(put(file, "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"));
}

size_t PdfWriter::code(const PageRaster& page) {
    // Every row as shown: a standard-resolution fax page with each row twice
    // (T.6 codes a repeated row in a few bits); an image of half the rows
    // stretched over the page would be smoothed by renderers.
    const PageToEncode whole = PageToEncode::of(page).withCoding(int32_t(PageCoding::TiffG4), 0);
    if (!whole.isValid()) return 0;
    try {
        const size_t size = PageEncoder::bufferSize(whole);
        if (buffer_.size() < size) buffer_.resize(size);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return encoder_.encodePage(buffer_, whole);
}

WriteResult PdfWriter::appendPage(File& file, const PageRaster& page) {
    const size_t coded = code(page);
    if (coded == 0) return WriteError::PageNotWritable;
    const int32_t rows = page.height;
    const std::string width = number(points(page.width, page.dpi));
    const std::string height = number(points(page.height, page.rowResolution()));
    // Objects are numbered before they are written, so a failed page leaves
    // its numbers unused only if it fails before the first one is taken.
    const int pageObject = int(offsets_.size()) + 1;
    const std::string n = std::to_string(pageObject);
    const std::string contentsRef = std::to_string(pageObject + 1) + " 0 R";
    const std::string imageRef = std::to_string(pageObject + 2) + " 0 R";
    // The image fills the page but for a hair at each edge: renderers take a
    // pixel edge that falls exactly on the image's far edge as one more
    // pixel, and would resample the image over it. A page rendered at its own
    // resolution gets back exactly its pixels.
    const std::string imageWidth = number(points(page.width, page.dpi) - 2 * kEdge);
    const std::string imageHeight = number(points(page.height, page.rowResolution()) - 2 * kEdge);
    const std::string contents = "q " + imageWidth + " 0 0 " + imageHeight + " " + number(kEdge) + " " +
                                 number(kEdge) + " cm /Im0 Do Q\n";
    const std::string columns = std::to_string(page.width);
    const std::string rowCount = std::to_string(rows);

    const int64_t start = position_;
    startObject();
    bool ok = put(file, n + " 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + width + " " + height +
                            "] /Resources << /XObject << /Im0 " + imageRef + " >> >> /Contents " + contentsRef +
                            " >>\nendobj\n");
    startObject();
    ok = ok && put(file, std::to_string(pageObject + 1) + " 0 obj\n<< /Length " + std::to_string(contents.size()) +
                             " >>\nstream\n" + contents + "endstream\nendobj\n");
    startObject();
    // The decoder's 0 is black by default, which is DeviceGray's black.
    ok = ok && put(file, std::to_string(pageObject + 2) + " 0 obj\n<< /Type /XObject /Subtype /Image /Width " +
                             columns + " /Height " + rowCount +
                             " /ColorSpace /DeviceGray /BitsPerComponent 1 /Filter /CCITTFaxDecode"
                             " /DecodeParms << /K -1 /Columns " + columns + " /Rows " + rowCount +
                             " /BlackIs1 false >> /Length " + std::to_string(coded) + " >>\nstream\n");
    ok = ok && putBytes(file, buffer_.data(), coded) && put(file, "\nendstream\nendobj\n");
    if (!ok) {
        // The page's objects are dropped; the next page is written over them.
        offsets_.resize(size_t(pageObject - 1));
        position_ = start;
        return WriteError::WriteFailed;
    }
    pageObjects_.push_back(pageObject);
    return {};
}

WriteResult PdfWriter::finish(File& file) {
    if (pageObjects_.empty()) return WriteError::NothingWritten;
    std::string kids;
    for (const int p : pageObjects_) kids += std::to_string(p) + " 0 R ";
    offsets_[kPageTree - 1] = position_;
    bool ok = put(file, "2 0 obj\n<< /Type /Pages /Kids [ " + kids + "] /Count " +
                            std::to_string(pageObjects_.size()) + " >>\nendobj\n");
    offsets_[kCatalogue - 1] = position_;
    ok = ok && put(file, "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
    const int64_t xref = position_;
    std::string table = "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
    for (const int64_t offset : offsets_) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(offset));
        table += entry;
    }
    table += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
             std::to_string(xref) + "\n%%EOF\n";
    return written(ok && put(file, table));
}

}  // namespace lumipage
