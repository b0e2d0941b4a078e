#pragma once
#include <cstdint>
#include <optional>

#include "view/COSBView.h"
#include "view/DisplayGeometry.h"
#include "image/PageOrientation.h"
#include "view/PageRenderer.h"
#include "view/StatusTexts.h"
#include "view/ViewDocument.h"
#include "view/ZoomLevels.h"

namespace lumipage {

struct Settings;

// The page view: shows the document's current page reduced to one of the
// 13 zoom levels, fits it to the window, places and scrolls it, offers the
// zoom frame (a rectangle that previews what a closer level would show),
// turns, mirrors and inverts the page, and keeps the status bar texts.
// The window turns its events into calls here and paints the bitmap.
class CLP98View : public COSBView {
public:
    // How the level follows the window.
    enum FitMode { kFitNone = 0, kFitWholePage = 1, kFitPageWidth = 2, kFitTwicePageWidth = 3 };
    // Scroll-bar codes.
    enum ScrollCode { kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kTop = 6, kBottom = 7 };
    // Edge codes of ScrollToEdges.
    enum EdgeCode { kEdgeStart = 6, kEdgeEnd = 7, kEdgeCentre = 10 };
    CLP98View(ViewHost& host, ViewDocument& document, Settings& settings);

    // The bitmap. A build for another reason than a colour change discards
    // the pixel values kept by RefreshColours.
    enum class SavedPixels { Discard, Keep };
    bool BuildDisplayBitmap(int level, SavedPixels saved = SavedPixels::Discard);
    void ClearDisplayBitmap(bool inverted);
    void RenderPage();
    const DisplayGeometry& geometry() const { return geometry_; }
    StatusTexts statusTexts() const;
    // New colours without reducing the page again: the pixel values are kept
    // (below 1:1 and for bitmaps under 5,000,000 bytes) and only the colour
    // table is rebuilt.
    void RefreshColours();
    // The areas around the page, with the shadow when ViewFrameShadow is on.
    std::vector<Fill> background() const;

    // Showing a page and the window's own events.
    void OnInitialUpdate();
    void OnUpdate(int hint);
    void ShowCurrentPage();
    // The window painted: no repaint is pending any more.
    void OnDraw() { repaintPending_ = false; }
    // Paints what is pending before a key is handled.
    void flushPendingPaint();
    bool repaintPending() const { return repaintPending_; }
    // After the window changed size; returns the fit command to post again
    // when the user sized the window and the fitted level changed, else 0.
    int OnSize(bool sizedByUser);
    // The scroll bars or the wheel moved the view: the zoom frame keeps its
    // place on the screen.
    void userScrollTo(ViewPoint position);

    // Zoom.
    int level() const { return level_; }
    int fitMode() const { return fitMode_; }
    void setFitMode(int mode) { fitMode_ = mode; }
    int savedLevel() const { return savedLevel_; }
    int FitLevel(int mode) const;
    void SetZoomLevel(int level);
    // As SetZoomLevel, keeping the page point under client point (x, y) under it.
    void ZoomAtPoint(int level, int x, int y);
    void ScrollToEdges(int horizontal, int vertical);
    void ScrollHorizontal(int code);
    void ScrollVertical(int code);

    // Zoom commands.
    bool pageShown() const;
    // True when the document's page changed since it was last shown: the
    // window shows it again when it next brings itself up to date.
    bool pageOutOfDate() const { return shownVersion_ != document_.pageVersion(); }
    bool canZoomIn() const { return pageShown() && level_ < zoom::kOneToOne; }
    bool canZoomOut() const { return pageShown() && level_ > 0; }
    void zoomIn();
    void zoomOut();
    void fitCommand(int mode);
    // Enter: 1:1 and back, or into the zoom frame and back in zoom-frame
    // mode; a key held down repeats nothing.
    enum class KeyPress { First, AutoRepeat };
    void enterKey(KeyPress press);
    void toggleOneToOne();
    bool zoomByMouse() const { return zoomByMouse_; }
    bool zoomFrameMode() const { return zoomFrameMode_; }
    void toggleZoomByMouse();
    void toggleZoomFrame();
    void toggleViewCenter();
    void toggleViewFrameShadow();

    // The zoom frame, in bitmap coordinates.
    int frameLevel() const { return frameLevel_; }
    bool frameShown() const { return pageShown() && zoomFrameMode_ && level_ < frameLevel_; }
    ViewRect frameRect() const { return frame_; }
    // The frame in client coordinates when it is shown.
    std::optional<ViewRect> frameOnScreen() const;
    void moveFrameTo(ViewPoint topLeft);
    bool canEnlargeFrame() const { return frameShown() && level_ + 1 < frameLevel_; }
    bool canShrinkFrame() const { return frameShown() && frameLevel_ < zoom::kOneToOne; }
    void enlargeFrame();
    void shrinkFrame();
    void zoomIntoFrame();
    void returnFromFrameZoom();

    // Turning, mirroring and inverting.
    const PageOrientation& orientation() const { return orientation_; }
    int rotation() const { return orientation_.rotation(); }
    void ApplyRotation(int angle);
    // The rotation commands; for all pages every page gets the turn shown.
    enum class PageScope { CurrentPage, AllPages };
    void rotateTo(int angle, PageScope scope);
    void turnLeft() { ApplyRotation((rotation() + 1) % 4); }
    void turnRight() { ApplyRotation((rotation() + 3) % 4); }
    void turnHalf() { ApplyRotation((rotation() + 2) % 4); }
    void toggleInverted(PageScope scope);
    void toggleMirrorLeftRight(PageScope scope);
    void toggleMirrorUpDown(PageScope scope);

    // What the mouse needs of the view (CLP98ViewMouse.cpp), in client
    // coordinates unless said otherwise.
    ViewSize clientSize() const { return host_.clientSize(); }
    // The page image's visible part; empty without a bitmap.
    ViewRect imageOnScreen() const;
    ViewPoint bitmapPoint(ViewPoint client) const;
    // A zoom by mouse click: no level to return to, no fit mode, and the
    // page point under `client` stays there.
    void zoomByMouseAt(int level, ViewPoint client);
    // The 1:1 toggle keeping the page point under `client`.
    void toggleOneToOneAt(ViewPoint client);
    // Scrolls by `delta` or to `position` as far as the bitmap allows, the
    // zoom frame keeping its place on the screen; returns how far it went.
    ViewPoint scrollByClamped(ViewPoint delta);
    ViewPoint scrollToClamped(ViewPoint position);
    // Centres the zoom frame on `client` within the bitmap, scrolling the
    // view when the frame would leave the window; returns the scroll.
    ViewPoint centreFrameOn(ViewPoint client);

private:
    const PageRaster* displayedPage() const;
    Colour paperColour();
    Colour inkColour() const;
    void updateStatusBar();
    void raiseFrameLevel();
    void zoomTo(int level, ViewPoint anchor);
    void rebuildAt(int level, ViewPoint scroll);
    ViewSize frameSize() const;
    void resizeFrame();
    void keepFrameInside();
    void showFrameInWindow();
    enum class Axis { Horizontal, Vertical };
    void scrollBy(int code, Axis axis);
    void invalidateFrame(const ViewRect& frame);
    template <class Change>
    void changeTransform(Change change, uint16_t flag, PageScope scope);
    void storePageWord();

    ViewDocument& document_;
    Settings& settings_;
    PageOrientation orientation_;
    uint64_t shownVersion_ = 0;  // the page version last shown; 0: the empty document, nothing to show
    PageRenderer renderer_;
    DisplayGeometry geometry_;
    std::vector<uint8_t> savedPixels_;  // pixel values kept across colour changes

    int level_ = zoom::kOneToOne;
    int fitMode_ = kFitPageWidth;
    int savedLevel_ = -1;
    int savedFitMode_ = kFitNone;
    ViewPoint savedScroll_{};
    bool zoomByMouse_ = true;
    bool zoomFrameMode_ = false;
    int frameLevel_ = zoom::kOneToOne;
    ViewRect frame_{};
    bool repaintPending_ = false;
};

}  // namespace lumipage
