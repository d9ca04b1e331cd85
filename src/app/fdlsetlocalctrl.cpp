#include "app/fdlsetlocalctrl.h"

#include "core/controls.h"
#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/uiservices.h"
#include "core/textlimit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace hb {

namespace {

QLabel *titleLabel(QWidget *parent, const QString &text)
{
    auto *l = makeCaptioned<QLabel>(parent, QStringLiteral("lblTITLE"), text, 20, 12, 300, 32);
    QFont f = l->font();
    f.setPointSize(14);
    f.setBold(true);
    l->setFont(f);
    return l;
}

// Text boxes with their labels, one row each from y, 36 pixels apart.
QList<QLineEdit *> labelledBoxes(QWidget *parent, int firstIndex, const QStringList &labels, int y, int width)
{
    QList<QLineEdit *> boxes;
    for (int i = 0; i < labels.size(); ++i) {
        makeCaptioned<QLabel>(parent, QStringLiteral("lblDATA_%1").arg(firstIndex + i), labels.at(i), 40, y + i * 36, 140, 26);
        boxes << makeControl<QLineEdit>(parent, QStringLiteral("txtDATA_%1").arg(firstIndex + i), 184, y + i * 36, width, 26);
    }
    return boxes;
}

}  // namespace

fdlSetLocalCtrl::fdlSetLocalCtrl() : Form(QStringLiteral("fdlSetLocalCtrl"))
{
    setWindowTitle(QStringLiteral("基本設定"));
    whenLoadFails(AfterFailedLoad::Close);
    setDesignSize(9600, 7200);
    titleLabel(this, QStringLiteral("基本設定"));

    auto *frame = makeCaptioned<QGroupBox>(this, QStringLiteral("Frame1"), QStringLiteral("利用方法"), 40, 56, 300, 64);
    Option1 << makeCaptioned<QRadioButton>(frame, QStringLiteral("Option1_0"), QStringLiteral("シングル"), 20, 28, 110, 26)
            << makeCaptioned<QRadioButton>(frame, QStringLiteral("Option1_1"), QStringLiteral("マルチ"), 150, 28, 110, 26);
    txtDATA = labelledBoxes(this, 0, {QStringLiteral("既定生産者ｺｰﾄﾞ"), QStringLiteral("既定販売店ｺｰﾄﾞ"), QStringLiteral("ﾊﾞｯｸｱｯﾌﾟﾌｫﾙﾀﾞ")}, 140, 120);
    for (int i : {kBoxDefFmrId, kBoxDefShopId}) {
        txtDATA[i]->setAlignment(Qt::AlignRight);
        limitCharacters(txtDATA[i], 8);
        txtDATA[i]->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    txtDATA[kBoxBackDir]->setGeometry(184, 212, 330, 26);
    limitCharacters(txtDATA[kBoxBackDir], 250);
    for (QLineEdit *t : txtDATA)
        setSelectAllOnFocus(t);
    auto *browse = makeCaptioned<QPushButton>(this, QStringLiteral("Command1_2"), QStringLiteral("参照..."), 520, 211, 80, 28);
    Check1 = makeCaptioned<QCheckBox>(this, QStringLiteral("Check1"), QStringLiteral("常に最大化する"), 40, 260, 200, 26);
    auto *save = makeCaptioned<QPushButton>(this, QStringLiteral("Command1_1"), QStringLiteral("登録"), 340, 390, 120, 40);
    auto *cancel = makeCaptioned<QPushButton>(this, QStringLiteral("Command1_0"), QStringLiteral("ｷｬﾝｾﾙ"), 470, 390, 120, 40);
    Command1 << cancel << save << browse;
    setCancelButton(cancel);

    onClick(cancel, [this] { cancelDialog(*this); });
    onClick(save, [this] {
        if (SaveData() != 0)
            Unload();
    });
    onClick(browse, [this] {
        const QString dir = OpenDir(this, Value(QStringLiteral("ﾊﾞｯｸｱｯﾌﾟﾌｫﾙﾀﾞを指定してください。")));
        if (!dir.isEmpty()) {
            txtDATA[kBoxBackDir]->setText(dir);
            txtDATA[kBoxBackDir]->setFocus();
        }
    });
}

void fdlSetLocalCtrl::onLoad()
{
    Form::onLoad();
    LoadData();
}

void fdlSetLocalCtrl::LoadData()
{
    const QHash<QString, Value> settings = ReadSettings(iniDb());
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        const QString &key = it.key();
        const Value &v = it.value();
        if (key == QLatin1String("USE_TYPE")) {
            const Value n = NullToVal(v, Value(0));
            const double d = IsNumeric(n) ? n.toDouble() : 0;
            Option1[kOptionSingle]->setAutoExclusive(false);
            Option1[kOptionMulti]->setAutoExclusive(false);
            Option1[kOptionSingle]->setChecked(d == static_cast<int>(kUseSingle));
            Option1[kOptionMulti]->setChecked(d == static_cast<int>(kUseMulti));
            Option1[kOptionSingle]->setAutoExclusive(true);
            Option1[kOptionMulti]->setAutoExclusive(true);
        } else if (key == QLatin1String("DEF_FMR_ID")) {
            txtDATA[kBoxDefFmrId]->setText(v.displayText());
        } else if (key == QLatin1String("DEF_SHOP_ID")) {
            txtDATA[kBoxDefShopId]->setText(v.displayText());
        } else if (key == QLatin1String("BACK_DIR")) {
            txtDATA[kBoxBackDir]->setText(v.displayText());
        } else if (key == QLatin1String("WINDOW_STA")) {
            Check1->setChecked(NullToVal(v, Value(0)).toBool());
        }
    }
}

long fdlSetLocalCtrl::SaveData()
{
    auto textOrNull = [](const QLineEdit *box) { return box->text().isEmpty() ? Value::null() : Value(box->text()); };
    const std::vector<SettingRow> rows = {
        {QStringLiteral("USE_TYPE"),
         Option1[kOptionSingle]->isChecked()  ? Value(kUseSingle)
         : Option1[kOptionMulti]->isChecked() ? Value(kUseMulti)
                                              : Value::null(),
         !Option1[kOptionSingle]->isChecked() && !Option1[kOptionMulti]->isChecked(), 4},
        {QStringLiteral("DEF_FMR_ID"), textOrNull(txtDATA[kBoxDefFmrId]), false, 4},
        {QStringLiteral("DEF_SHOP_ID"), textOrNull(txtDATA[kBoxDefShopId]), false, 4},
        {QStringLiteral("BACK_DIR"), textOrNull(txtDATA[kBoxBackDir]), false, 10},
        {QStringLiteral("WINDOW_STA"), Value(Check1->isChecked() ? 1 : 0), false, 1},
    };
    WriteSettingRows(iniDb(), rows);
    return 5;
}

bool fdlSetLocalCtrl::validate(QWidget *control)
{
    const int i = txtDATA.indexOf(qobject_cast<QLineEdit *>(control));
    if (i != kBoxDefFmrId && i != kBoxDefShopId)
        return true;
    const QString text = txtDATA[i]->text();
    if (text.isEmpty() || parseNumber(text, nullptr))
        return true;
    ui().messageBox(this,
                    i == kBoxDefFmrId ? QStringLiteral("生産者ｺｰﾄﾞには数値を指定してください。")
                                      : QStringLiteral("販売店ｺｰﾄﾞには数値を指定してください。"),
                    kMsgExclamation, kAppName);
    txtDATA[i]->selectAll();
    return false;
}

Trap fdlSetLocalCtrl::trapFor(Event event, QWidget *) const
{
    return plainFor(event, {Event::KeyPress, Event::Resize, Event::Validate});
}

fdlSetMstCtrl::fdlSetMstCtrl() : Form(QStringLiteral("fdlSetMstCtrl"))
{
    setWindowTitle(QStringLiteral("共通設定"));
    whenLoadFails(AfterFailedLoad::Close);
    setDesignSize(9600, 7200);
    titleLabel(this, QStringLiteral("共通設定"));
    makeCaptioned<QLabel>(this, QStringLiteral("Label1_0"), QStringLiteral("アップロード情報"), 40, 56, 200, 24);
    auto *frame = makeCaptioned<QGroupBox>(this, QStringLiteral("Frame1"), QStringLiteral("サーバー形式"), 40, 82, 360, 64);
    int x = 20;
    for (const char *c : {"HTML", "PHP", "CGI"}) {
        makeCaptioned<QRadioButton>(frame, QStringLiteral("Option1_%1").arg((x - 20) / 110), QString::fromLatin1(c), x, 28, 100, 26);
        x += 110;
    }
    makeCaptioned<QLabel>(this, QStringLiteral("Label1_1"), QStringLiteral("FTP情報"), 40, 166, 200, 24);
    const auto boxes = labelledBoxes(this, 10, {QStringLiteral("ｻｰﾊﾞｰ"), QStringLiteral("ｻｰﾊﾞｰﾃﾞｨﾚｸﾄﾘ"), QStringLiteral("FTPﾕｰｻﾞｰ"), QStringLiteral("ﾊﾟｽﾜｰﾄﾞ")}, 194, 300);
    for (QLineEdit *b : boxes) {
        limitCharacters(b, 50);
        setSelectAllOnFocus(b);
    }
    makePasswordBox(boxes.last());
    auto *save = makeCaptioned<QPushButton>(this, QStringLiteral("Command1_1"), QStringLiteral("登録"), 340, 390, 120, 40);
    auto *cancel = makeCaptioned<QPushButton>(this, QStringLiteral("Command1_0"), QStringLiteral("ｷｬﾝｾﾙ"), 470, 390, 120, 40);
    setCancelButton(cancel);
    onClick(save, [] {});
    onClick(cancel, [this] { cancelDialog(*this); });
}

Trap fdlSetMstCtrl::trapFor(Event event, QWidget *) const
{
    return plainFor(event, {Event::KeyPress, Event::Resize});
}

}  // namespace hb
