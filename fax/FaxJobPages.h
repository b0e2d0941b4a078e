#pragma once
#include <cstdint>
#include <string>

namespace lumipage {

class PageRaster;

// The pages a fax send job walks, as the page list and the view hold them.
class FaxJobPages {
public:
    enum class Load { Ok, ReadError, MemoryError };

    virtual ~FaxJobPages() = default;
    // Pages in the job's range and the global page of range page n (1-based).
    virtual int rangePages() const = 0;
    virtual int globalPage(int rangePage) const = 0;
    // Makes a page the current one, loaded and transformed as the view shows it.
    virtual Load showPage(int globalPage) = 0;
    // The current page as shown (turned, mirrored, inverted), and its file's name.
    virtual const PageRaster* displayedPage() const = 0;
    virtual std::string fileName() const = 0;
    // Sets the send marks of a page (the sent and send-error bits together).
    virtual void markPage(int globalPage, uint8_t marks) = 0;
    // The current page and scroll position, kept over the job.
    virtual void saveView() = 0;
    virtual void restoreView() = 0;
    // The main window is disabled while the call runs; the progress window stays usable.
    virtual void enableMainWindow(bool enabled) = 0;
};

}  // namespace lumipage
