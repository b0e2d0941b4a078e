// The window tests share one application object, as a real run has.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/QtTranslations.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    lumipage::installJapaneseTranslations(application);  // as the program does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
