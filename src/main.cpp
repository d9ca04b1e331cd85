#include <QApplication>

#include "app/mainproc.h"
#include "core/appinit.h"

int main(int argc, char **argv)
{
    hb::Application app(argc, argv);
    hb::initApplication(app);
    // The start-up's dialogs come and go before the main window exists.
    app.setQuitOnLastWindowClosed(false);
    hb::Main();
    app.setQuitOnLastWindowClosed(true);
    return app.exec();
}
