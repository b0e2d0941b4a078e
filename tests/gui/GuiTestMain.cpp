// The window tests share one application object, as a real run has.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/QtTranslations.h"

// In the sanitized build, leaks that Qt's font libraries and SANE keep until
// exit are suppressed by name; everything of ours is reported.
extern "C" const char* __lsan_default_options() { return "suppressions=" LUMIPAGE_GUI_LSAN_SUPPRESSIONS; }

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    lumipage::installJapaneseTranslations(application);  // as the program does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
