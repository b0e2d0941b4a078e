#include "gui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace lumipage {

bool installJapaneseTranslations(QCoreApplication& application) {
    // Owned by the application, so it lives exactly as long as the texts are asked for.
    auto* translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    // Qt's widgets take their default locale (number formats, the dialogs' layout direction) from here.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    return QCoreApplication::installTranslator(translator);
}

}  // namespace lumipage
