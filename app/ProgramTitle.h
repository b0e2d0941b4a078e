#pragma once
#include <string_view>

namespace lumipage {

// The main window's title begins with the application title; a copy started
// to preview a file has the preview title.
constexpr std::string_view kApplicationTitle = "Quor Lumipage";
constexpr std::string_view kPreviewTitle = "Quor Lumipage ﾌﾟﾚﾋﾞｭｰ";

// Whether a window title is one of this program's: the application title,
// alone or followed by a blank, "(" or "[".
constexpr bool isProgramTitle(std::string_view title) {
    if (!title.starts_with(kApplicationTitle)) return false;
    if (title.size() == kApplicationTitle.size()) return true;
    const char next = title[kApplicationTitle.size()];
    return next == ' ' || next == '(' || next == '[';
}

static_assert(isProgramTitle("Quor Lumipage"));
static_assert(isProgramTitle("Quor Lumipage [ a.TIF ]"));
static_assert(!isProgramTitle("Quor LumipageX"));

}  // namespace lumipage
