#pragma once
// The test programs' input method, loaded as Qt loads a platform's (QT_IM_MODULE=hbtest), with
// the habits of Qt's ibus connection that the grower's Japanese input method goes through: it
// shows a composition in the focused widget, hides it without a commit when the grower cancels
// it, keeps what it showed last until a commit or a reset, and commits that at the next
// QInputMethod::commit() (a focus change calls it); reset() forgets it. As the ibus daemon
// does for Qt 6.4, a commit() or reset() while the composition is shown commits it once more,
// once the current event is over, to what has the focus then.

#include <qpa/qplatforminputcontext.h>

#include <QString>

namespace hbtest {

class TestInputContext : public QPlatformInputContext {
public:
    TestInputContext();
    ~TestInputContext() override;
    // The input method of this test program.
    static TestInputContext &instance();

    bool isValid() const override { return true; }
    void reset() override;
    void commit() override;

    // The engine shows a composition (what is typed, or its conversion) in the focused widget.
    void compose(const QString &preedit);
    // The grower cancels it (Esc, or BackSpace until it is empty): hidden, not committed.
    void cancel();
    // The engine commits a word.
    void commitWord(const QString &word);
    // What it would commit at the next commit().
    QString held() const { return shown_; }

private:
    void send(const QString &preedit, const QString &committed);
    void resetEngine();
    QString shown_;
    bool visible_ = false;
};

// Types Latin keys with the input method in hiragana mode, as a grower does: where the focused
// widget takes the input method, they compose (digits and letters full-width, until a commit);
// where it is off, they arrive as typed, at the window that has the keyboard.
void typeWithInputMethodOn(const QString &keys);

}  // namespace hbtest
