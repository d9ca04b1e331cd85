// The program's start-up as a process of its own, as a person starts the program, with the
// program's own way of ending (its exit status is what the test reads).
//
//   hb_start_child FOLDER ANSWER [STEP | closebox]
//
// FOLDER is the program's folder (ini/, work/ and data/ beside it). Every question is answered
// ANSWER ("yes" or "no"), every other box with OK; each box is printed as "BOX style text" (the
// text's line breaks as "|"), each modal dialog as "DIALOG name", and rejected. With STEP, the
// start-up step of that name fails with a database error. After the start-up has shown its main
// window the child prints "SHOWN name" and ends the program as its close button does; with
// "closebox" the program runs as it does for a person, and the window system closes the main
// window. The program's end prints "END" and the database objects still open.

#include "app/mainproc.h"
#include "core/appinit.h"
#include "core/databases.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/startup.h"
#include "core/uiservices.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QTimer>
#include <QWindow>
#include <cstdio>

namespace {

class PrintingUi : public hb::UiServices {
public:
    explicit PrintingUi(int answer) : answer_(answer) {}
    int messageBox(QWidget *, const QString &prompt, int style, const QString &) override
    {
        std::printf("BOX %d %s\n", style, QString(prompt).replace(QLatin1Char('\n'), QLatin1Char('|')).toUtf8().constData());
        std::fflush(stdout);
        const int buttons = style & 0x0F;
        return buttons == hb::kMsgYesNo || buttons == hb::kMsgYesNoCancel ? answer_ : hb::kAnsOk;
    }
    int execModal(QDialog *dialog) override
    {
        std::printf("DIALOG %s\n", dialog->objectName().toUtf8().constData());
        std::fflush(stdout);
        return QDialog::Rejected;
    }

    [[noreturn]] void endProgram(int code) override
    {
        const int open = (hb::gINI ? 1 : 0) + (hb::gDb ? 1 : 0) + (hb::gMst ? 1 : 0) + (hb::gWork ? 1 : 0);
        std::printf("END %d\n", open);
        std::fflush(stdout);
        UiServices::endProgram(code);
    }

private:
    int answer_;
};

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    hb::Application app(argc, argv);
    hb::initApplication(app);
    if (argc < 3) {
        std::fprintf(stderr, "usage: hb_start_child FOLDER yes|no [STEP]\n");
        return 2;
    }
    hb::setAppPath(QString::fromLocal8Bit(argv[1]));
    hb::setUi(std::make_unique<PrintingUi>(qstrcmp(argv[2], "yes") == 0 ? hb::kAnsYes : hb::kAnsNo));
    const QString failing = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (failing == QLatin1String("closebox")) {
        // Once the main window is up, its close box: the window system's close event.
        QTimer::singleShot(0, &app, [] {
            for (hb::Form *f : hb::loadedForms()) {
                std::printf("SHOWN %s\n", f->objectName().toUtf8().constData());
                std::fflush(stdout);
                if (f->isVisible())
                    QCoreApplication::postEvent(f->windowHandle(), new QCloseEvent);
            }
        });
        hb::runProgram(app);
    }
    hb::startUpStepHook() = [failing](const QString &step) {
        if (step == failing)
            throw hb::HbError(3709, QStringLiteral("失敗させた手順：") + step);
    };
    app.setQuitOnLastWindowClosed(false);
    hb::Main();
    for (const hb::Form *f : hb::loadedForms())
        std::printf("SHOWN %s\n", f->objectName().toUtf8().constData());
    std::fflush(stdout);
    hb::EndApp();
}
