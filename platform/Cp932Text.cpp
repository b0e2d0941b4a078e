#include "platform/Cp932Text.h"

#include "base/Messages.h"
#include "platform/TextCodec.h"

namespace lumipage::cp932 {

std::optional<std::string> encodeOrSay(std::string_view utf8, std::string_view what, Messages& messages) {
    auto encoded = text::toCp932(utf8);
    if (!encoded) messages.message(std::string(what) + kCannotHold);
    return encoded;
}

}  // namespace lumipage::cp932
