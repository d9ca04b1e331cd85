#include "common/scriptedui.h"

namespace hbtest {

int ScriptedUi::messageBox(QWidget *, const QString &prompt, int style, const QString &title)
{
    prompts.push_back({prompt, style, title});
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    const int buttons = style & 0x0F;
    if (buttons == hb::kMsgYesNo || buttons == hb::kMsgYesNoCancel)
        return hb::kAnsNo;
    if (buttons == hb::kMsgRetryCancel)
        return hb::kAnsCancel;
    return defaultAnswer;
}

QString ScriptedUi::browseFolder(QWidget *, const QString &)
{
    if (folders.empty())
        return QString();
    const QString f = folders.front();
    folders.pop_front();
    return f;
}

bool ScriptedUi::openFolder(const QString &path)
{
    openedFolders << path;
    return true;
}

int ScriptedUi::execModal(QDialog *dialog)
{
    modalShown << dialog->objectName();
    auto it = modalHandlers.find(dialog->objectName());
    if (it == modalHandlers.end())
        it = modalHandlers.find(QStringLiteral("*"));
    if (it == modalHandlers.end()) {
        dialog->reject();
        return QDialog::Rejected;
    }
    return it->second(dialog);
}

void ScriptedUi::endProgram(int code)
{
    endCodes.push_back(code);
    throw hb::ProgramEnded{code};
}

QStringList ScriptedUi::promptTexts() const
{
    QStringList out;
    for (const auto &p : prompts)
        out << p.text;
    return out;
}

ScopedScriptedUi::ScopedScriptedUi()
{
    auto ui = std::make_unique<ScriptedUi>();
    ui_ = ui.get();
    previous_ = hb::setUi(std::move(ui));
}

ScopedScriptedUi::~ScopedScriptedUi()
{
    hb::setUi(std::move(previous_));
}

}  // namespace hbtest
