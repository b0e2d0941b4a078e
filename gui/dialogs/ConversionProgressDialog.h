#pragma once
#include <QDialog>

#include "document/ConversionProgress.h"

class QLabel;

namespace lumipage {

// The modal window that follows a conversion: the number of pages, the page
// at hand, the target's name and what is being done with the page. Cancel
// stops the conversion before the next page.
class ConversionProgressDialog : public QDialog, public ConversionProgress {
public:
    explicit ConversionProgressDialog(QWidget* parent = nullptr);

    void begin(int pages, const std::string& target) override;
    void step(int ordinal, int page, ConversionStep step, const std::string& target) override;
    bool cancelled() override;
    void end(int written) override;

    QString pagesText() const;
    QString pageText() const;
    QString targetText() const;
    QString stateText() const;
    // Pressed in tests to stop a conversion while it runs.
    void cancel() { cancelled_ = true; }

private:
    QLabel* pages_;
    QLabel* page_;
    QLabel* target_;
    QLabel* state_;
    bool cancelled_ = false;
};

}  // namespace lumipage
