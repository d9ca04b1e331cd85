#include "core/uiservices.h"

#include "core/db.h"
#include "core/helpers.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace hb {

namespace {
std::unique_ptr<UiServices> &current()
{
    static std::unique_ptr<UiServices> s = std::make_unique<UiServices>();
    return s;
}
}  // namespace

UiServices &ui()
{
    return *current();
}

std::unique_ptr<UiServices> setUi(std::unique_ptr<UiServices> services)
{
    auto old = std::move(current());
    current() = services ? std::move(services) : std::make_unique<UiServices>();
    return old;
}

int UiServices::messageBox(QWidget *parent, const QString &prompt, int style, const QString &title)
{
    QMessageBox box(parent);
    box.setWindowTitle(title.isEmpty() ? kProgramTitle : title);
    box.setText(prompt);
    switch (style & 0xF0) {
    case kMsgCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case kMsgQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case kMsgExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case kMsgInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
    }
    struct B { QMessageBox::StandardButton b; int answer; };
    std::vector<B> buttons;
    switch (style & 0x0F) {
    case kMsgOkCancel: buttons = {{QMessageBox::Ok, kAnsOk}, {QMessageBox::Cancel, kAnsCancel}}; break;
    case kMsgAbortRetryIgnore:
        buttons = {{QMessageBox::Abort, kAnsAbort}, {QMessageBox::Retry, kAnsRetry}, {QMessageBox::Ignore, kAnsIgnore}};
        break;
    case kMsgYesNoCancel:
        buttons = {{QMessageBox::Yes, kAnsYes}, {QMessageBox::No, kAnsNo}, {QMessageBox::Cancel, kAnsCancel}};
        break;
    case kMsgYesNo: buttons = {{QMessageBox::Yes, kAnsYes}, {QMessageBox::No, kAnsNo}}; break;
    case kMsgRetryCancel: buttons = {{QMessageBox::Retry, kAnsRetry}, {QMessageBox::Cancel, kAnsCancel}}; break;
    default: buttons = {{QMessageBox::Ok, kAnsOk}};
    }
    QMessageBox::StandardButtons set;
    for (const B &b : buttons)
        set |= b.b;
    box.setStandardButtons(set);
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const B &b : buttons) {
        if (b.b == clicked)
            return b.answer;
    }
    // Closed with the window's close button: the cancelling answer, else the first button's.
    for (const B &b : buttons) {
        if (b.answer == kAnsCancel || b.answer == kAnsNo)
            return b.answer;
    }
    return buttons.front().answer;
}

QString UiServices::browseFolder(QWidget *owner, const QString &prompt)
{
    return QFileDialog::getExistingDirectory(owner, prompt);
}

bool UiServices::openFolder(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

int UiServices::execModal(QDialog *dialog)
{
    return dialog->exec();
}

void UiServices::endProgram(int code)
{
    // The program ends here, from wherever it is (a connection question during start-up, say):
    // the connections are closed now, and nothing is left for the destruction of statics, whose
    // order would release a database object after the database layer it needs.
    releaseDatabases();
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace hb
