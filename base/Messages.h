#pragma once
#include <string>

namespace lumipage {

// How the core speaks to the user. The window shows modal message boxes,
// batch runs print to standard error, tests record what was said.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void message(const std::string& text) = 0;
    virtual bool askOkCancel(const std::string& text) = 0;
    virtual bool askYesNo(const std::string& text) = 0;
    virtual bool askRetryCancel(const std::string& text) = 0;
    // A warning under a caption of its own (a device's errors), owned by no
    // window; where no box can be shown it is a message like any other.
    virtual void warning(const std::string& caption, const std::string& text) {
        (void)caption;
        message(text);
    }
    // A question whose box carries its own caption instead of the program's title.
    virtual bool askOkCancelCaptioned(const std::string& /*caption*/, const std::string& text) {
        return askOkCancel(text);
    }
};

// Prints every message to standard error and answers every question with
// its cautious choice (Cancel / No); used where there is no window.
class StderrMessages : public Messages {
public:
    void message(const std::string& text) override;
    bool askOkCancel(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    bool askRetryCancel(const std::string& text) override;
};

}  // namespace lumipage
