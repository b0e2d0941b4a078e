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
    // Warnings under a caption of their own, as "caption: text"; `said` keeps their text as it keeps every message.
    std::vector<std::string> warnings;
    void warning(const std::string& caption, const std::string& text) override {
        warnings.push_back(caption + ": " + text);
        said.push_back(text);
    }
    bool askOkCancel(const std::string& text) override { return ask(text); }
    bool askYesNo(const std::string& text) override { return ask(text); }
    bool askRetryCancel(const std::string& text) override { return ask(text); }
    bool askOkCancelCaptioned(const std::string& caption, const std::string& text) override {
        captions.push_back(caption);
        return ask(text);
    }
    std::vector<std::string> captions;  // of the questions that carry their own

    std::string last() const { return said.empty() ? std::string() : said.back(); }

private:
    bool ask(const std::string& text) {
        said.push_back(text);
        return answer;
    }
};

}  // namespace lumipage::test
