#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialog;
class QGridLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace lumipage {

// One line of a phone book pick list and the number it puts in the number field.
struct PickLine {
    QString text;
    QString number;
};

namespace faxwidgets {

// A number or identification field: at most `maxLength` characters, the
// input method off.
QLineEdit* numberEdit(const char* id, int maxLength, QWidget* parent);
// Putting the focus into `edit` removes the list's selection.
void clearSelectionOnFocus(QLineEdit* edit, QListWidget* list);
QComboBox* choice(const char* id, const QStringList& items, int current, QWidget* parent);
// The phone book's pick list under a number field: choosing a line puts its
// number into the field, the focus in the field clears the choice, and the
// sort switch reloads the list through `pickList(sort)`. Fills the list now.
void pickNumbersFrom(QListWidget* list, QLineEdit* number, QCheckBox* sort,
                     std::function<std::vector<PickLine>(bool sort)> pickList);

// The last row of a call dialog: OK (id 1, the default) and "ｷｬﾝｾﾙ" (id 2)
// at the right. OK is enabled while a number is given, the speaker volume
// while the modem has no volume control of its own.
void finishCallDialog(QDialog* dialog, QGridLayout* grid, int row, QLineEdit* number, QCheckBox* modemVolume,
                      QWidget* volume);

inline const QStringList kPorts{"COM1", "COM2", "COM3", "COM4"};
inline const QStringList kDialMethods{"トーン", "パルス"};
inline const QStringList kVolumes{"オフ", "小", "中", "大"};

}  // namespace faxwidgets
}  // namespace lumipage
