#include <QApplication>

#include "core/appinit.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    hb::initApplication(app);
    return 0;
}
