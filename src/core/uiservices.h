#pragma once
// Everything that asks the person something or ends the program goes through one replaceable
// object, so tests can answer prompts, drive dialogs and see what was shown without blocking.

#include <QString>
#include <memory>

class QDialog;
class QWidget;

namespace hb {

// Message-box styles and answers of the original platform.
enum MsgStyle : int {
    kMsgOk = 0, kMsgOkCancel = 1, kMsgAbortRetryIgnore = 2, kMsgYesNoCancel = 3, kMsgYesNo = 4, kMsgRetryCancel = 5,
    kMsgCritical = 16, kMsgQuestion = 32, kMsgExclamation = 48, kMsgInformation = 64,
};
enum MsgAnswer : int { kAnsOk = 1, kAnsCancel = 2, kAnsAbort = 3, kAnsRetry = 4, kAnsIgnore = 5, kAnsYes = 6, kAnsNo = 7 };

// Raised by the test services when the program would end, so the test regains control.
struct ProgramEnded {
    int code = 0;
};

class UiServices {
public:
    virtual ~UiServices() = default;
    // A message box with the given style and title (the program title when empty); returns the
    // answer. ShowMsg calls this; the boxes a window raises directly call it with their title.
    virtual int messageBox(QWidget *parent, const QString &prompt, int style, const QString &title);
    // The folder picker; "" when cancelled.
    virtual QString browseFolder(QWidget *owner, const QString &prompt);
    // Opens a folder in the desktop's file manager.
    virtual bool openFolder(const QString &path);
    // Runs a dialog modally until it closes; returns its result code.
    virtual int execModal(QDialog *dialog);
    // Ends the program at once; nothing after the call runs.
    [[noreturn]] virtual void endProgram(int code);
};

UiServices &ui();
// Replaces the services (tests); returns the previous object.
std::unique_ptr<UiServices> setUi(std::unique_ptr<UiServices> services);

}  // namespace hb
