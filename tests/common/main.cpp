// Test entry: every test program runs headless unless told otherwise.
#include <QApplication>
#include <QtGlobal>
#include <gtest/gtest.h>

#include "core/appinit.h"
#include "core/formbase.h"

#include <iostream>

int main(int argc, char **argv)
{
    hb::readTimeZoneOnce();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    hb::initApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    // A window whose events wrote rows must say what it does after a failed load.
    const QStringList unsaid = hb::Form::takeUnsaidWriters();
    if (!unsaid.isEmpty()) {
        std::cerr << "windows that wrote without saying what they do after a failed load: "
                  << unsaid.join(QStringLiteral(", ")).toStdString() << '\n';
        return 1;
    }
    return rc;
}
