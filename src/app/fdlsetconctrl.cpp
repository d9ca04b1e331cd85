#include "app/fdlsetconctrl.h"

#include "core/controls.h"
#include "core/db.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "core/startup.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>

namespace hb {

namespace {
constexpr const char *kTag = "Tag";
}

fdlSetConCtrl::fdlSetConCtrl() : Form(QStringLiteral("fdlSetConCtrl"))
{
    setWindowTitle(QStringLiteral("接続設定"));
    whenLoadFails(AfterFailedLoad::Close);
    setDesignSize(10800, 6400);
    scaling().keepFont << QStringLiteral("Sha");  // the frames keep their font; the fields scale theirs
    setEnterLevel(EnterLevel::Window);

    const char *labels[] = {"種類", "ﾃﾞｰﾀｿｰｽ名", "名前", "ﾕｰｻﾞｰ", "ﾊﾟｽﾜｰﾄﾞ", "MDBﾊﾟｽﾜｰﾄﾞ"};
    const char *keys[] = {"TYPE", "DSN", "NAME", "USER", "PSWD", "DBPW"};
    for (int group = 0; group < 2; ++group) {
        const int gx = 14 + group * 352;
        auto *shape = makeControl<QFrame>(this, QStringLiteral("Shape1_%1").arg(group), gx, 14, 338, 300);
        shape->setFrameShape(QFrame::Box);
        auto *heading = makeCaptioned<QLabel>(this, QStringLiteral("Label1_%1").arg(19 + group),
                                              group == 0 ? QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽ情報") : QStringLiteral("ﾏｽﾀDB情報"),
                                              gx + 12, 22, 200, 24);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        const QString prefix = group == 0 ? QStringLiteral("DB_") : QStringLiteral("MST_");
        for (int row = 0; row < 6; ++row) {
            const int index = group * 6 + row;
            const int y = 60 + row * 40;
            makeCaptioned<QLabel>(this, QStringLiteral("Label1_%1").arg(index), QString::fromUtf8(labels[row]), gx + 12, y,
                                  110, 26);
            QWidget *field;
            if (row == 0) {
                auto *cmb = makeControl<QComboBox>(this, QStringLiteral("cmbTYPE_%1").arg(5 + group), gx + 126, y, 200, 26);
                cmb->addItems({QString(), QStringLiteral("MYSQL"), QStringLiteral("MDB")});
                field = cmb;
            } else {
                auto *txt = makeControl<QLineEdit>(this, QStringLiteral("Text1_%1").arg(index), gx + 126, y, 200, 26);
                if (row >= 4)
                    makePasswordBox(txt);
                setSelectAllOnFocus(txt);
                field = txt;
            }
            field->setProperty(kTag, prefix + QLatin1String(keys[row]));
        }
    }
    cmdRegister = makeCaptioned<QPushButton>(this, QStringLiteral("Command1_1"), QStringLiteral("登録"), 430, 336, 130, 40);
    cmdCancel = makeCaptioned<QPushButton>(this, QStringLiteral("Command1_0"), QStringLiteral("ｷｬﾝｾﾙ"), 568, 336, 130, 40);
    onClick(cmdRegister, [this] { registerClicked(); });
    onClick(cmdCancel, [this] { cancelDialog(*this); });
}

void fdlSetConCtrl::onLoad()
{
    Form::onLoad();
    LoadData();
}

void fdlSetConCtrl::LoadData()
{
    for (QWidget *c : controls()) {
        const QString tag = c->property(kTag).toString();
        if (tag.isEmpty())
            continue;
        const Value v = NullToVal(iniDb().GetCtrl(tag), Value(QString()));
        const QString text = v.displayText();
        if (auto *txt = qobject_cast<QLineEdit *>(c)) {
            txt->setText(text);
        } else if (auto *cmb = qobject_cast<QComboBox *>(c)) {
            double n = 0;
            const int index = parseNumber(text, &n) ? static_cast<int>(n) : 0;
            // A stored index outside the list shows the empty entry; the other fields still load.
            cmb->setCurrentIndex(index >= 0 && index < cmb->count() ? index : 0);
        }
    }
}

bool fdlSetConCtrl::SaveData()
{
    std::vector<std::pair<QString, QString>> values;
    for (QWidget *c : controls()) {
        const QString tag = c->property(kTag).toString();
        if (tag.isEmpty())
            continue;
        if (auto *txt = qobject_cast<QLineEdit *>(c))
            values.emplace_back(tag, txt->text());
        else if (auto *cmb = qobject_cast<QComboBox *>(c))
            values.emplace_back(tag, QString::number(cmb->currentIndex()));
    }
    return SaveSettingsTogether(iniDb(), values);
}

void fdlSetConCtrl::registerClicked()
{
    if (!ChkData())
        return;
    if (!SaveData()) {
        ShowMsg(QStringLiteral("データの登録に失敗しました。"), kMsgExclamation);
        return;
    }
    // Closed first: a connection that fails now asks again with a fresh dialog.
    Unload();
    QThread::msleep(100);
    InitDb();
    InitMst();
}

}  // namespace hb
