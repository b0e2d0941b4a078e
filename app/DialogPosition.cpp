#include "app/DialogPosition.h"

#include <cstdio>

namespace lumipage {

std::optional<DialogPosition> DialogPosition::parse(const std::string& text) {
    int open = 0, top = 0, left = 0, bottom = 0, right = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d:%d:%d%c", &open, &top, &left, &bottom, &right, &extra) != 5)
        return std::nullopt;
    return DialogPosition{open == 1, ViewRect{left, top, right, bottom}};
}

std::string DialogPosition::format() const {
    return std::to_string(open ? 1 : 0) + ":" + std::to_string(rect.top) + ":" + std::to_string(rect.left) + ":" +
           std::to_string(rect.bottom) + ":" + std::to_string(rect.right);
}

}  // namespace lumipage
