#pragma once
#include <string>
#include <vector>

#include "base/Messages.h"

namespace lumipage::test {

// Keeps every message and question; questions get the answer set beforehand.
class RecordingMessages : public Messages {
public:
    std::vector<std::string> said;
    bool answer = true;

    void message(const std::string& text) override { said.push_back(text); }
    bool askOkCancel(const std::string& text) override { return ask(text); }
    bool askYesNo(const std::string& text) override { return ask(text); }
    bool askRetryCancel(const std::string& text) override { return ask(text); }

    std::string last() const { return said.empty() ? std::string() : said.back(); }

private:
    bool ask(const std::string& text) {
        said.push_back(text);
        return answer;
    }
};

}  // namespace lumipage::test
