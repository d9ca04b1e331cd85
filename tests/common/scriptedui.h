#pragma once
// Test stand-in for the UI services: answers prompts from a script, records every prompt,
// hands modal dialogs to the test instead of blocking, and turns program exit into an exception.

#include "core/uiservices.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace hbtest {

struct Prompt {
    QString text;
    int style = 0;
    QString title;
};

class ScriptedUi : public hb::UiServices {
public:
    std::vector<Prompt> prompts;
    std::deque<int> answers;          // answers in order; when empty, the default answer
    int defaultAnswer = hb::kAnsOk;   // Yes/No questions get kAnsNo unless scripted
    std::deque<QString> folders;      // folder picker results; "" when empty
    QStringList openedFolders;
    std::vector<int> endCodes;
    // Called when a dialog is run modally, by its objectName (or "*" for any). The handler
    // drives the dialog (types, clicks, closes) and returns its result code. Without a handler,
    // a modal dialog is rejected at once.
    std::map<QString, std::function<int(QDialog *)>> modalHandlers;
    QStringList modalShown;

    int messageBox(QWidget *parent, const QString &prompt, int style, const QString &title) override;
    QString browseFolder(QWidget *owner, const QString &prompt) override;
    bool openFolder(const QString &path) override;
    int execModal(QDialog *dialog) override;
    [[noreturn]] void endProgram(int code) override;

    QStringList promptTexts() const;
};

// Installs a ScriptedUi for the scope of a test and restores the previous services after.
class ScopedScriptedUi {
public:
    ScopedScriptedUi();
    ~ScopedScriptedUi();
    ScriptedUi *operator->() { return ui_; }
    ScriptedUi &get() { return *ui_; }

private:
    ScriptedUi *ui_;
    std::unique_ptr<hb::UiServices> previous_;
};

}  // namespace hbtest
