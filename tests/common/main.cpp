// Test entry: every test program runs headless unless told otherwise.
#include <QApplication>
#include <QtPlugin>
#include <QtGlobal>
#include <gtest/gtest.h>

#include "core/appinit.h"
#include "core/formbase.h"

#include <iostream>

// The test input method (common/testinputcontext.h).
Q_IMPORT_PLUGIN(TestInputContextPlugin)

int main(int argc, char **argv)
{
    hb::readTimeZoneOnce();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every test program types through the test input method, whatever the desk's one is.
    qputenv("QT_IM_MODULE", "hbtest");
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
