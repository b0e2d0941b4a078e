#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace lumipage {

class PhoneBook;
class PhoneBookEditor;

// The phone book edit dialog: the entries in a report list with an empty
// row for a new one, the three edit fields, the position and the buttons
// of the editor. The control ids are the widgets' object names.
class PhoneBookDialog : public QDialog {
public:
    PhoneBookDialog(PhoneBook& book, PhoneBookEditor& editor, QWidget* parent = nullptr);

    // Runs an editor button: 1064 register, 1062 clear, 1071 add, 1067
    // insert, 1061 delete, 1068 remember, 1069 copy.
    void press(int id);

private:
    void fillRows();
    void showSelection();
    void takeFields();

    PhoneBook& book_;
    PhoneBookEditor& editor_;
    QTreeWidget* list_;
    QLineEdit* name_;
    QLineEdit* fax_;
    QLineEdit* telephone_;
    QLabel* position_;
};

}  // namespace lumipage
