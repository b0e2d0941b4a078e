#pragma once

namespace lumipage {

// The page view's keys and typed characters, and what each one does. The
// window turns its key events into a ViewKey or a character and carries out
// the action this table gives; the table itself knows nothing of windows.
enum class ViewKey {
    Enter, Escape, PageUp, PageDown, Home, End, Left, Right, Up, Down, Insert,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F11, F12,
};
enum class KeyModifier { None, Shift, Control };

// What the table needs to know of the moment.
struct KeyContext {
    bool fileFunctions = true;  // off with the start-up switch that removes the file menu
    bool scanning = true;       // off with the switch that removes scanning
    bool fax = true;            // off with the switch that removes fax
    bool enableEscKey = false;  // Esc ends the program
    bool topRightStart = false;  // pages start at their top-right corner (right-to-left books)
    bool pageShown = false;
    bool anySelected = false;
};

struct KeyAction {
    enum class Kind {
        None,
        Command,             // run `command`
        ScrollHorizontal,    // scroll-bar code `a`
        ScrollVertical,      // scroll-bar code `a`
        ScrollToEdges,       // horizontal edge `a`, vertical edge `b`
        CommandThenEdges,    // run `command`, then ScrollToEdges(a, b)
        EnterKey,            // 1:1 and back (into the zoom frame and back in frame mode)
        PointerAboveClient,  // park the pointer just above the page view
        PointerToCorner,     // the pointer to client (10, -10)
        ZoomModeToggle,      // Space: between the zoom frame and zoom by mouse
    };
    Kind kind = Kind::None;
    int command = 0;
    int a = 0;
    int b = 0;

    bool operator==(const KeyAction&) const = default;
};

KeyAction keyAction(ViewKey key, KeyModifier modifier, const KeyContext& context);
// A typed character; letters are folded to upper case first.
KeyAction characterAction(char character, bool shift, const KeyContext& context);

}  // namespace lumipage
