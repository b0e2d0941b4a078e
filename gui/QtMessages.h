#pragma once
#include <memory>
#include <string>

#include "base/Messages.h"

class QMessageBox;
class QWidget;

namespace lumipage {

// Messages to the user as modal message boxes over the main window.
class QtMessages : public Messages {
public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const std::string& text) override;
    bool askOkCancel(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    bool askRetryCancel(const std::string& text) override;
    void warning(const std::string& caption, const std::string& text) override;
    bool askOkCancelCaptioned(const std::string& caption, const std::string& text) override;

    // The boxes as they are shown: the program's title (or the caller's
    // caption) and the buttons' Japanese texts.
    enum class Kind { Message, OkCancel, YesNo, RetryCancel };
    static std::unique_ptr<QMessageBox> makeBox(Kind kind, const std::string& caption, const std::string& text,
                                                QWidget* parent);

private:
    QWidget* parent_ = nullptr;
};

}  // namespace lumipage
