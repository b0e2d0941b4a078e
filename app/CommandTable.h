#pragma once
#include <span>
#include <vector>

namespace lumipage {

struct StartupRequest;

// The main menu and the tool bar as data: the window builds its menus,
// buttons and update handlers from these tables.
//
// The menu is written as lines with a depth, as a menu resource reads:
// depth 0 is the menu bar, a line without a command opens a submenu that
// holds the deeper lines after it, and a separator is a line with neither
// a command nor a caption.
struct MenuLine {
    int depth;
    int id;               // command; 0 opens a submenu or is a separator
    const char* caption;  // null for a separator

    constexpr bool isSeparator() const { return caption == nullptr; }
    constexpr bool isSubmenu() const { return id == 0 && caption != nullptr; }
};

// The top-level menus that the start-up modes remove or replace, by caption.
inline constexpr const char* kFileMenu = "ﾌｧｲﾙ(&F)";
inline constexpr const char* kScanMenu = "ｽｷｬﾝ(&S)";
inline constexpr const char* kCopyMenu = "ｺﾋﾟｰ(&C)";
inline constexpr const char* kFaxMenu = "FAX(&X)";
inline constexpr const char* kPrintMenu = "印刷(&P)";
// What takes the file menu's place without it.
inline constexpr const char* kCloseProgramItem = "[閉じる]";

std::span<const MenuLine> mainMenu();

// The tool bar's buttons in order; 0 is a gap between groups.
std::span<const int> toolBarButtons();

// The command's caption in the main menu (the first place it appears), or
// null when the menu does not hold it.
const char* captionOf(int id);

// How the start-up modes shape the window: which menus and items go,
// which buttons are hidden, and whether there is a menu bar at all.
struct MenuShape {
    bool menuBar = true;
    bool fileMenu = true;  // false: "[閉じる]" stands in its place
    bool scanMenus = true;
    bool faxMenu = true;
    std::vector<int> removedItems;
    std::vector<int> hiddenButtons;

    bool hidesButton(int id) const;
    bool removesItem(int id) const;
    // A screen this narrow loses the selected-page buttons without scanning.
    static constexpr int kNarrowScreen = 640;

    static MenuShape of(const StartupRequest& request, int screenWidth);
};

}  // namespace lumipage
