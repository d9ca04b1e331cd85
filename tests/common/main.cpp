// Test entry: every test program runs headless unless told otherwise.
#include <QApplication>
#include <QtGlobal>
#include <gtest/gtest.h>

#include "core/appinit.h"

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    hb::initApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
