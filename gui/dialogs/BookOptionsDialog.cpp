#include "gui/dialogs/BookOptionsDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/dialogs/OkCancelButtons.h"

namespace lumipage {

namespace {

struct Position {
    int value;
    const char* text;
};
// In the order shown.
constexpr Position kPositions[4] = {{2, "左上端"}, {3, "右上端"}, {1, "上端"}, {0, "前頁と同じ"}};

}  // namespace

BookOptionsDialog::BookOptionsDialog(int pageStartPosition, const std::string& information, int totalPages,
                                     int selectedPages, QWidget* parent)
    : QDialog(parent) {
    setObjectName("167");
    setWindowTitle("電子ブック・オプション");
    auto* group = new QGroupBox("頁切替え後の表示位置", this);
    auto* groupLayout = new QVBoxLayout(group);
    for (int i = 0; i < 4; ++i) {
        positions_[i] = new QRadioButton(QString::fromUtf8(kPositions[i].text), group);
        positions_[i]->setObjectName(QString("position%1").arg(kPositions[i].value));
        positions_[i]->setChecked(kPositions[i].value == pageStartPosition);
        groupLayout->addWidget(positions_[i]);
    }
    if (pageStartPosition < 0 || pageStartPosition > 3) positions_[0]->setChecked(true);
    QString shown = QString::fromStdString(information);
    shown.replace("\r\n", "\n");
    information_ = new QPlainTextEdit(shown, this);
    information_->setObjectName("information");
    auto* counts = new QLabel(QString("全頁数: %1    選択頁数: %2").arg(totalPages).arg(selectedPages), this);
    counts->setObjectName("counts");
    QDialogButtonBox* buttons = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(new QLabel("ブック情報:", this));
    layout->addWidget(information_);
    layout->addWidget(counts);
    layout->addWidget(buttons);
}

int BookOptionsDialog::pageStartPosition() const {
    for (int i = 0; i < 4; ++i)
        if (positions_[i]->isChecked()) return kPositions[i].value;
    return kPositions[0].value;
}

// The edit shows line feeds; the comment file keeps CR LF.
std::string BookOptionsDialog::information() const {
    const QString text = information_->toPlainText();
    return QString(text).replace("\n", "\r\n").toStdString();
}

}  // namespace lumipage
