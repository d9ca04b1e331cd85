#include "core/appinit.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

namespace hb {

void initApplication(QApplication &app)
{
    auto *qtbase = new QTranslator(&app);
    if (qtbase->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qtbase);
    QFont font(QString::fromLatin1(kUiFontFamily));
    font.setPointSize(9);
    app.setFont(font);
    app.setApplicationName(QStringLiteral("HarvestBook"));
}

}
