#include "base/Messages.h"

#include <cstdio>

namespace lumipage {

void StderrMessages::message(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

bool StderrMessages::askOkCancel(const std::string& text) {
    message(text);
    return false;
}

bool StderrMessages::askYesNo(const std::string& text) {
    message(text);
    return false;
}

bool StderrMessages::askRetryCancel(const std::string& text) {
    message(text);
    return false;
}

}  // namespace lumipage
