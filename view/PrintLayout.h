#pragma once
#include "view/ViewTypes.h"

namespace lumipage {

// What a print job prints: every page, the selected pages, only the first
// page (the copy job of a scan), or the part of the current page the window shows.
enum class PrintRange { AllPages = 0, SelectedPages = 1, FirstPage = 2, CurrentScreen = 3 };

// Whether the printer dialog comes up before a job prints, or the job goes
// straight to the printer kept for the run.
enum class PrinterDialog { Skip, Show };

// The arithmetic of a printed sheet: which page pixels, the print bitmap's
// shape, and where the bitmap lands on the sheet.
namespace print {

// The part of the page the window shows, in page pixels, widened to whole
// bytes: the client rectangle moved by the scroll position, cut to the
// screen bitmap, scaled by the level's divisor (tenths) and cut to the
// page. When the whole page is on the screen (the bitmap is narrower and
// lower than the client area) the region is the whole page.
ViewRect currentScreenRegion(const ViewRect& client, ViewPoint scroll, ViewSize screenBitmap, int divisor,
                             ViewSize page);

struct BitmapShape {
    ViewSize size;      // the print bitmap
    ViewRect region;    // the page pixels it holds (the top may have been lowered for a turn)
    bool copied = false;  // rows copied as they are (own resolution, same orientation)
    bool turned = false;  // region turned a quarter turn to the left (own resolution)
};

// With the printer driver scaling (`ownResolution`) the bitmap keeps the
// page's pixels, turned when the region and the sheet differ in
// orientation; otherwise it has the drawing rectangle's size and the page
// is fitted into it.
BitmapShape bitmapShape(const ViewRect& region, ViewSize target, bool ownResolution);

// Where a bitmap of `bitmap` pixels is drawn on a drawing rectangle of
// `target` pixels: stretched to the full width or height with the other
// side in proportion and centred, or, when that would enlarge it by less
// than 5 %, drawn at its own size in the middle.
ViewRect placement(ViewSize target, ViewSize bitmap);

}  // namespace print
}  // namespace lumipage
