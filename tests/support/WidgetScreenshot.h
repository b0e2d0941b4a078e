#pragma once
#include <cstdlib>

#include <QString>
#include <QWidget>

namespace lumipage::test {

// With LUMIPAGE_SCREENSHOTS set to a folder, a window or dialog under test
// saves a picture of itself there, to be looked at.
inline void screenshot(QWidget& w, const char* name) {
    const char* folder = std::getenv("LUMIPAGE_SCREENSHOTS");
    if (!folder || !*folder) return;
    w.adjustSize();
    w.grab().save(QString(folder) + "/" + name + ".png");
}

}  // namespace lumipage::test
