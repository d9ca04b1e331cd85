#include "core/appinit.h"

#include "core/helpers.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdlib>

namespace hb {

void readTimeZoneOnce()
{
    if (!std::getenv("TZ"))
        setenv("TZ", ":/etc/localtime", 1);
}

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


bool deliverTrapped(const std::function<bool()> &deliver)
{
    // While one such error is shown, the events its box brings (a repaint failing again, say)
    // only log theirs: one box, not a cascade.
    static bool reporting = false;
    const auto report = [](int number, const QString &description) {
        if (reporting) {
            reportError(Trap::Silent, number, description);
            return;
        }
        reporting = true;
        struct Reset {
            ~Reset() { reporting = false; }
        } reset;
        reportError(Trap::Critical, number, description);
    };
    try {
        return deliver();
    } catch (const HbError &e) {
        report(e.number(), e.description());
    } catch (const std::exception &e) {
        report(5, QString::fromLocal8Bit(e.what()));
    }
    return false;
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    return deliverTrapped([&] { return QApplication::notify(receiver, event); });
}

}  // namespace hb
