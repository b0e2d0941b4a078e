#pragma once
#include <string>

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace lumipage {

// What a save dialog hands back: one target path and the options chosen.
struct SaveChoice {
    std::string path;
    bool oneFile = false;
    bool overwrite = false;
    bool overwriteReadOnly = false;
    bool copyComments = true;
};

// The filter texts of the save and open dialogs, written as pairs
// "name|patterns|name|patterns||" (patterns separated by ';'), as Qt file
// dialog filters "name (patterns)". Patterns are offered in upper and lower
// case, since file names on this system are case-sensitive.
QStringList qtFilters(const std::string& pairs);

// The program's own save dialog: a target path (typed or chosen through the
// browse button) and the options one file, overwrite permitted, overwrite
// read-only files too and copy comments. OK needs a path; the read-only
// option follows the overwrite option.
class SaveTargetDialog : public QDialog {
public:
    struct Shape {
        QString title;
        QStringList filters;
        bool offerOneFile = false;
        bool offerCopyComments = true;
    };

    SaveTargetDialog(const Shape& shape, const SaveChoice& initial, QWidget* parent = nullptr);

    SaveChoice choice() const;
    QLineEdit* pathEdit() const { return path_; }

private:
    void browse();
    void updateEnabling();

    Shape shape_;
    QLineEdit* path_;
    QCheckBox* oneFile_;
    QCheckBox* overwrite_;
    QCheckBox* readOnly_;
    QCheckBox* comments_;
    QPushButton* ok_;
};

}  // namespace lumipage
