#include "app/KeyTable.h"

#include "base/CommandIds.h"
#include "view/CLP98View.h"

namespace lumipage {

using namespace command;

namespace {

using Kind = KeyAction::Kind;
using V = CLP98View;

KeyAction run(int id) { return {Kind::Command, id, 0, 0}; }
KeyAction edges(int h, int v) { return {Kind::ScrollToEdges, 0, h, v}; }
KeyAction horizontal(int code) { return {Kind::ScrollHorizontal, 0, code, 0}; }
KeyAction vertical(int code) { return {Kind::ScrollVertical, 0, code, 0}; }
KeyAction nothing() { return {}; }

// The corner a book's page starts at: top-left, or top-right for books read
// from right to left.
KeyAction firstPageAtStart(const KeyContext& c) {
    return {Kind::CommandThenEdges, kFirstPage, c.topRightStart ? V::kEdgeEnd : V::kEdgeStart, V::kEdgeStart};
}

// The line, page or end step of an arrow key.
int stepOf(KeyModifier m, int line, int page, int end) {
    return m == KeyModifier::Control ? end : m == KeyModifier::Shift ? page : line;
}

int byModifier(KeyModifier m, int plain, int shift, int control) {
    return m == KeyModifier::Control ? control : m == KeyModifier::Shift ? shift : plain;
}

}  // namespace

KeyAction keyAction(ViewKey key, KeyModifier m, const KeyContext& c) {
    const bool plain = m == KeyModifier::None;
    const bool shift = m == KeyModifier::Shift;
    switch (key) {
        case ViewKey::Enter: return {Kind::EnterKey};
        case ViewKey::Escape:
            if (plain) return c.enableEscKey ? run(kExit) : KeyAction{Kind::PointerAboveClient};
            return shift ? KeyAction{Kind::PointerToCorner} : nothing();
        case ViewKey::PageUp: return run(byModifier(m, kPreviousPage, kPreviousSelected, kFirstPage));
        case ViewKey::PageDown: return run(byModifier(m, kNextPage, kNextSelected, kLastPage));
        case ViewKey::Home:
            if (!plain) return nothing();
            return firstPageAtStart(c);
        case ViewKey::End:
            if (!plain) return nothing();
            return {Kind::CommandThenEdges, kLastPage, c.topRightStart ? V::kEdgeStart : V::kEdgeEnd, V::kEdgeEnd};
        case ViewKey::Left: return horizontal(stepOf(m, V::kLineUp, V::kPageUp, V::kTop));
        case ViewKey::Right: return horizontal(stepOf(m, V::kLineDown, V::kPageDown, V::kBottom));
        case ViewKey::Up: return vertical(stepOf(m, V::kLineUp, V::kPageUp, V::kTop));
        case ViewKey::Down: return vertical(stepOf(m, V::kLineDown, V::kPageDown, V::kBottom));
        case ViewKey::Insert:
            if (plain) return run(kEditComment);
            return shift ? run(kColourAdjustment) : nothing();
        case ViewKey::F1:
            if (!c.fileFunctions) return nothing();
            if (plain) return run(kOpen);
            return shift && c.pageShown ? run(kConvertAll) : nothing();
        case ViewKey::F2:
            if (!c.scanning || !(plain || shift)) return nothing();
            return run(plain ? kScanNew : kRescan);
        case ViewKey::F3:
            if (!c.scanning || !(plain || shift)) return nothing();
            return run(plain ? kCopyDirect : kCopyWithPrinterSetup);
        case ViewKey::F4:
            if (!c.fax || !(plain || shift)) return nothing();
            return run(plain ? kFaxSend : kPhoneBook);
        case ViewKey::F5: return plain ? run(kVoiceCall) : nothing();
        case ViewKey::F6: return run(byModifier(m, kPrintAll, kPrintSelected, kPrintScreen));
        case ViewKey::F7: return plain ? run(kFitTwicePageWidth) : nothing();
        case ViewKey::F8: return plain ? run(kFitPageWidth) : nothing();
        case ViewKey::F9: return plain ? run(kFitWholePage) : nothing();
        case ViewKey::F11: return plain ? run(kContents) : nothing();
        case ViewKey::F12: return plain ? run(kKeywordIndex) : nothing();
    }
    return nothing();
}

KeyAction characterAction(char ch, bool shift, const KeyContext& c) {
    const char u = (ch >= 'a' && ch <= 'z') ? char(ch - 'a' + 'A') : ch;
    if (u == 'O') return c.fileFunctions ? run(kOpen) : nothing();
    if (!c.pageShown) return nothing();
    // The digits place the page like the keys of a numeric pad: 7 top-left, 5 centre, 3 bottom-right.
    if (u >= '1' && u <= '9') {
        constexpr int kColumn[3] = {V::kEdgeStart, V::kEdgeCentre, V::kEdgeEnd};
        const int index = u - '1';
        return edges(kColumn[index % 3], kColumn[2 - index / 3]);
    }
    switch (u) {
        case ' ': return shift ? run(kToggleSelection) : KeyAction{Kind::ZoomModeToggle};
        case '*': return run(kFitTwicePageWidth);
        case '+': case 'U': return run(kZoomIn);
        case '-': case 'Y': return run(kZoomOut);
        case '/': return run(kFitWholePage);
        case '=': return run(kFitPageWidth);
        case 'A': return horizontal(V::kTop);
        case 'B': return run(shift ? kPreviousSelected : kPreviousPage);
        case 'C': return run(shift ? kCloseCurrent : kColourAdjustment);
        case 'D': return horizontal(shift ? V::kPageDown : V::kLineDown);
        case 'E': return vertical(shift ? V::kPageUp : V::kLineUp);
        case 'F': return horizontal(V::kBottom);
        case 'G': return run(kPageCounter);
        case 'H': return firstPageAtStart(c);
        case 'I': return run(kTurnHalf);
        case 'J': return run(kJump);
        case 'K': return run(kBack);
        case 'L': return run(kTurnLeft);
        case 'M': return run(kLastPage);
        case 'N': return run(shift ? kNextSelected : kNextPage);
        case 'P': return run(c.anySelected ? kPrintSelected : kPrintAll);
        case 'Q': return edges(c.topRightStart ? V::kEdgeEnd : V::kEdgeStart, V::kEdgeStart);
        case 'R': return run(kTurnRight);
        case 'S': return horizontal(shift ? V::kPageUp : V::kLineUp);
        case 'V': return run(kFirstPage);
        case 'W': return vertical(V::kTop);
        case 'X': return vertical(shift ? V::kPageDown : V::kLineDown);
        case 'Z': return vertical(V::kBottom);
        default: return nothing();
    }
}

}  // namespace lumipage
