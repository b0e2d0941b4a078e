#pragma once
#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QListWidget;
class QWidget;

namespace lumipage::faxwidgets {

// A number or identification field: at most `maxLength` characters, the
// input method off.
QLineEdit* numberEdit(const char* id, int maxLength, QWidget* parent);
// Putting the focus into `edit` removes the list's selection.
void clearSelectionOnFocus(QLineEdit* edit, QListWidget* list);
QComboBox* choice(const char* id, const QStringList& items, int current, QWidget* parent);

inline const QStringList kPorts{"COM1", "COM2", "COM3", "COM4"};
inline const QStringList kDialMethods{"トーン", "パルス"};
inline const QStringList kVolumes{"オフ", "小", "中", "大"};

}  // namespace lumipage::faxwidgets
