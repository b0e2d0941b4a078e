#pragma once
#include <QDialog>

class QCheckBox;

namespace lumipage {

// Shown when a conversion wrote pages: how many, and whether to delete the
// source files and whether to open the written files in their place.
class ConversionDoneDialog : public QDialog {
public:
    ConversionDoneDialog(int pagesWritten, int filesWritten, QWidget* parent = nullptr);

    bool deleteSources() const;
    bool openWritten() const;

private:
    QCheckBox* delete_;
    QCheckBox* open_;
};

}  // namespace lumipage
