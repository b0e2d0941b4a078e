#pragma once
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QDialog>

#include "gui/dialogs/FaxWidgets.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace lumipage {

struct FaxSendValues;

// The fax send dialog: number, page range, local identification, the phone
// book's fax numbers, port, speed, dial method, redials and their wait, the
// sort switch and the speaker. The control ids are the widgets' object names;
// "ComDevice" is the device of the chosen port, offered from the serial
// devices found.
class FaxSendDialog : public QDialog {
public:
    // `pickList(sort)` reloads the phone book, sorted when asked.
    FaxSendDialog(const FaxSendValues& values, int rangePages, bool selectedPages,
                  std::function<std::vector<PickLine>(bool sort)> pickList, QWidget* parent = nullptr);

    // The values as the dialog holds them, over `values`.
    void storeInto(FaxSendValues& values) const;

private:

    QLineEdit* number_;
    QSpinBox* start_;
    QSpinBox* end_;
    QLineEdit* localId_;
    QListWidget* list_;
    QComboBox* port_;
    QComboBox* device_;  // the device of the chosen port: those found, or one typed
    std::array<std::string, 4> devices_;
    int shownPort_ = 0;
    QComboBox* speed_;
    QComboBox* dial_;
    QSpinBox* redials_;
    QSpinBox* wait_;
    QCheckBox* sort_;
    QCheckBox* modemVolume_;
    QComboBox* volume_;
};

}  // namespace lumipage
