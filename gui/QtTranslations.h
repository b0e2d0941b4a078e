#pragma once

class QCoreApplication;

namespace lumipage {

// Qt's own dialogs (file dialogs, the print dialog and preview) speak
// Japanese like the rest of the program, whatever the user's locale: Qt's
// Japanese translations are installed from Qt's translations folder.
// False when they are not there; the dialogs then keep Qt's texts.
bool installJapaneseTranslations(QCoreApplication& application);

}  // namespace lumipage
