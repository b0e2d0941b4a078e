#include "fax/FaxDialect.h"

#include <algorithm>

namespace lumipage {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text after a "+NAME:" prefix, if the line has one.
std::string_view withoutPrefix(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') {
        const size_t colon = text.find(':');
        if (colon != std::string_view::npos) text.remove_prefix(colon + 1);
    }
    return text;
}

std::vector<std::string> items(std::string_view text) {
    std::vector<std::string> out;
    std::string item;
    for (const char c : withoutPrefix(text)) {
        if (c == ',') {
            out.push_back(item);
            item.clear();
        } else if (c != ' ' && c != '(' && c != ')' && c != '"') {
            item.push_back(c);
        }
    }
    out.push_back(item);
    return out;
}

}  // namespace

std::optional<FaxClassChoice> chooseFaxClass(std::string_view offered) {
    const std::vector<std::string> classes = items(offered);
    const auto has = [&](std::string_view c) { return std::find(classes.begin(), classes.end(), c) != classes.end(); };
    if (has("2")) return FaxClassChoice{"2", FaxDialect::Class2};
    for (const std::string_view c : {"2.0", "2.1"})
        if (has(c)) return FaxClassChoice{std::string(c), FaxDialect::Class20};
    // Any other answer with a 2 in it ("0-2", a vendor's own spelling) is
    // taken as class 2, as the program always took it.
    if (offered.find('2') != std::string_view::npos) return FaxClassChoice{"2", FaxDialect::Class2};
    return std::nullopt;
}

std::string currentFaxClass(std::string_view answer) {
    answer = withoutPrefix(answer);
    while (!answer.empty() && answer.front() == ' ') answer.remove_prefix(1);
    std::string value;
    for (const char c : answer) {
        if (!isDigit(c) && !(c == '.' && !value.empty())) break;
        value.push_back(c);
    }
    return value;
}

std::vector<std::string> parameterValues(std::string_view list) { return items(list); }

std::string joinParameters(const std::vector<std::string>& values) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) text += (i ? "," : "") + values[i];
    return text;
}

int class2HangUpCode(std::string_view hex) {
    while (!hex.empty() && hex.front() == ' ') hex.remove_prefix(1);
    int value = 0, digits = 0;
    for (const char c : hex) {
        int d;
        if (isDigit(c)) d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else break;
        if (++digits > 2) break;
        value = value * 16 + d;
    }
    return (value >> 4) * 10 + (value & 15);
}

}  // namespace lumipage
