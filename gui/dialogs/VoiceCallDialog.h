#pragma once
#include <functional>
#include <string>
#include <vector>

#include <QDialog>

#include "gui/dialogs/FaxSendDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace lumipage {

struct Settings;

// The voice call dialog: port, dial method, speaker, the number and the
// phone book's telephone numbers. The control ids are object names; the
// controls without one are named port, dialMethod, volume, modemVolume and sort.
class VoiceCallDialog : public QDialog {
public:
    VoiceCallDialog(const Settings& settings, const std::string& number,
                    std::function<std::vector<PickLine>(bool sort)> pickList, QWidget* parent = nullptr);

    // The call settings into the settings, and the number.
    void storeInto(Settings& settings, std::string& number) const;

private:

    QComboBox* port_;
    QComboBox* dial_;
    QComboBox* volume_;
    QCheckBox* modemVolume_;
    QLineEdit* number_;
    QListWidget* list_;
    QCheckBox* sort_;
};

}  // namespace lumipage
