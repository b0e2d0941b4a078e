#include "tools/books/BookSource.h"

namespace lumipage::books {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool isLatin(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ',' || c == '.' ||
           c == ')' || c == ':' || c == ';';
}

std::vector<std::string> splitKeywords(std::string_view list) {
    std::vector<std::string> words;
    while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string_view word = trim(list.substr(0, comma));
        if (!word.empty()) words.emplace_back(word);
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return words;
}

class Parser {
public:
    explicit Parser(BookSource& out) : out_(out) {}

    bool line(std::string_view raw, int number, std::string& error) {
        const std::string_view l = trim(raw);
        if (l.empty()) return endParagraph(), true;
        if (startsWith(l, "%title ")) return out_.title = trim(l.substr(7)), true;
        if (startsWith(l, "%subtitle ")) return out_.subtitle = trim(l.substr(10)), true;
        if (l == "%page") return add(Block::Kind::PageBreak, ""), true;
        if (startsWith(l, "## ")) return add(Block::Kind::Section, trim(l.substr(3))), true;
        if (startsWith(l, "# ")) return add(Block::Kind::Chapter, trim(l.substr(2))), true;
        if (startsWith(l, "@ ")) {
            endParagraph();
            for (auto& w : splitKeywords(l.substr(2))) pendingKeywords_.push_back(std::move(w));
            return true;
        }
        if (startsWith(l, "- ")) return add(Block::Kind::Item, trim(l.substr(2))), true;
        if (startsWith(l, "|")) return row(l, number, error);
        if (l.front() == '%') {
            error = "line " + std::to_string(number) + ": unknown directive";
            return false;
        }
        if (!inParagraph_) {
            add(Block::Kind::Paragraph, l);
            inParagraph_ = true;
        } else {
            std::string& text = out_.blocks.back().text;
            if (!text.empty() && isLatin(text.back()) && isLatin(l.front())) text += ' ';
            text += l;
        }
        return true;
    }

    bool finish(std::string& error) {
        if (!pendingKeywords_.empty()) {
            error = "keywords at the end with no text after them";
            return false;
        }
        if (out_.title.empty()) {
            error = "no %title line";
            return false;
        }
        return true;
    }

private:
    void endParagraph() { inParagraph_ = false; }

    void add(Block::Kind kind, std::string_view text, std::string_view text2 = {}) {
        endParagraph();
        Block b;
        b.kind = kind;
        b.text = text;
        b.text2 = text2;
        b.keywords = std::move(pendingKeywords_);
        pendingKeywords_.clear();
        out_.blocks.push_back(std::move(b));
    }

    bool row(std::string_view l, int number, std::string& error) {
        // | first | second |
        std::string_view rest = l.substr(1);
        const size_t bar = rest.find('|');
        if (bar == std::string_view::npos) {
            error = "line " + std::to_string(number) + ": a row needs two columns";
            return false;
        }
        std::string_view second = rest.substr(bar + 1);
        if (!second.empty() && second.back() == '|') second.remove_suffix(1);
        add(Block::Kind::Row, trim(rest.substr(0, bar)), trim(second));
        return true;
    }

    BookSource& out_;
    std::vector<std::string> pendingKeywords_;
    bool inParagraph_ = false;
};

}  // namespace

bool parseBookSource(std::string_view text, BookSource& out, std::string& error) {
    out = BookSource{};
    Parser parser(out);
    int number = 0;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        ++number;
        if (!parser.line(text.substr(0, nl), number, error)) return false;
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
    return parser.finish(error);
}

}  // namespace lumipage::books
