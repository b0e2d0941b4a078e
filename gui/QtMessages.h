#pragma once
#include "base/Messages.h"

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

private:
    QWidget* parent_ = nullptr;
};

}  // namespace lumipage
