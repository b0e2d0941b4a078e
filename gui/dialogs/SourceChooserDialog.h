#pragma once
#include <QDialog>

#include "scan/TwainSession.h"

class QListWidget;

namespace lumipage {

// "スキャナ選択": the sources the source manager lists, the current one
// selected; OK takes the selected one.
class SourceChooserDialog : public QDialog {
public:
    SourceChooserDialog(const std::vector<std::string>& sources, size_t current, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }
    std::optional<size_t> chosen() const;

private:
    QListWidget* list_;
};

// Asks the user with the dialog above.
class DialogSourceChooser : public SourceChooser {
public:
    explicit DialogSourceChooser(QWidget* parent) : parent_(parent) {}
    std::optional<size_t> choose(const std::vector<std::string>& sources, size_t current) override;

private:
    QWidget* parent_;
};

}  // namespace lumipage
