#include "common/testinputcontext.h"

#include "common/harness.h"

#include <qpa/qplatforminputcontextplugin_p.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QTimer>

namespace hbtest {

namespace {
TestInputContext *gContext = nullptr;
}

TestInputContext::TestInputContext()
{
    gContext = this;
}

TestInputContext::~TestInputContext()
{
    if (gContext == this)
        gContext = nullptr;
}

TestInputContext &TestInputContext::instance()
{
    if (!gContext)
        qFatal("the test input method is not loaded (QT_IM_MODULE=hbtest before the application)");
    return *gContext;
}

void TestInputContext::reset()
{
    resetEngine();
    shown_.clear();
}

void TestInputContext::commit()
{
    if (!shown_.isEmpty())
        send(QString(), shown_);
    resetEngine();
    shown_.clear();
}

// The daemon hides a composition that the engine still shows when it is reset, and commits it.
void TestInputContext::resetEngine()
{
    if (visible_ && !shown_.isEmpty()) {
        QTimer::singleShot(0, this, [this, word = shown_] {
            send(QString(), QString());
            send(QString(), word);
        });
    }
    visible_ = false;
}

void TestInputContext::compose(const QString &preedit)
{
    send(preedit, QString());
    shown_ = preedit;
    visible_ = !preedit.isEmpty();
}

void TestInputContext::cancel()
{
    send(QString(), QString());
    visible_ = false;
}

void TestInputContext::commitWord(const QString &word)
{
    send(QString(), word);
    shown_.clear();
    visible_ = false;
}

void TestInputContext::send(const QString &preedit, const QString &committed)
{
    QObject *focus = QGuiApplication::focusObject();
    if (!focus)
        return;
    QList<QInputMethodEvent::Attribute> attributes;
    if (!preedit.isEmpty())
        attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, int(preedit.size()), 1, QVariant());
    QInputMethodEvent e(preedit, attributes);
    if (!committed.isEmpty())
        e.setCommitString(committed);
    QCoreApplication::sendEvent(focus, &e);
}

void typeWithInputMethodOn(const QString &keys)
{
    // As the ibus connection, it asks whether the focused widget takes the input method.
    if (TestInputContext &im = TestInputContext::instance(); im.inputMethodAccepted()) {
        QString wide;
        for (QChar c : keys)
            wide += c.unicode() > 0x20 && c.unicode() < 0x7f ? QChar(c.unicode() - 0x21 + 0xff01) : c;
        im.compose(im.held() + wide);
    } else {
        strike(keys.toLatin1().constData());
    }
    QCoreApplication::processEvents();
}

}  // namespace hbtest

// Qt finds the test input method among the program's static plugins by its key.
class TestInputContextPlugin : public QPlatformInputContextPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QPlatformInputContextFactoryInterface_iid FILE "testinputcontext.json")
public:
    QPlatformInputContext *create(const QString &key, const QStringList &) override
    {
        return key.compare(QLatin1String("hbtest"), Qt::CaseInsensitive) == 0 ? new hbtest::TestInputContext : nullptr;
    }
};

#include "testinputcontext.moc"
