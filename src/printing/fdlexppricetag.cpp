#include "printing/fdlexppricetag.h"

#include "core/controls.h"
#include "core/datepicker.h"
#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/startup.h"
#include "printing/expptag.h"
#include "printing/ptag.h"

#include <QCalendarWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace hb {

namespace {

const QString kLastExpDate = QStringLiteral("LAST_EXP_PTAG_DATE");
const QString kExpDir = QStringLiteral("EXP_PTAG_DIR");
const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

// The current grower and the shop in use as numbers; no grower is 0 (none has it), no shop is 1.
long currentGrower()
{
    return isBlank(gFmrID) ? 0L : static_cast<long>(gFmrID.toLong());
}

long shopInUse()
{
    return isBlank(gShopID) ? 1L : static_cast<long>(gShopID.toLong());
}

// A stored or typed date; false for no value or a text that is no date.
bool dateOf(const Value &v, QDate *out)
{
    if (isBlank(v))
        return false;
    if (v.isDate()) {
        *out = v.toDate().date();
        return out->isValid();
    }
    QDateTime dt;
    if (!parseDateText(v.toString().trimmed(), &dt))
        return false;
    *out = dt.date();
    return true;
}

}  // namespace

fdlExpPriceTag::fdlExpPriceTag() : Form(QStringLiteral("fdlExpPriceTag"))
{
    setWindowTitle(QStringLiteral("値札ﾃﾞｰﾀ書出"));
    whenLoadFails(AfterFailedLoad::Close);
    setDesignSize(9600, 7200);
    const QFont text = sizedFont(font(), 15.75);

    const auto label = [&](int n, const QString &caption, int x, int y, int w, int h, Qt::Alignment align) {
        auto *l = makeCaptioned<QLabel>(this, ctlName(QStringLiteral("Label1"), n), caption, x, y, w, h);
        l->setFont(text);
        l->setAlignment(align | Qt::AlignVCenter);
        return l;
    };
    const auto box = [&](int i, int x, int y, int w, int maxLength, Qt::Alignment align) {
        auto *e = makePlainBox(this, ctlName(QStringLiteral("txtCOND"), i), QRect(x, y, w, 30), text, maxLength, align);
        setSelectAllOnFocus(e);
        txtCOND[static_cast<std::size_t>(i)] = e;
    };
    const auto button = [&](int i, const QString &caption, int x, int y, int w, int h, double points) {
        auto *b = makeCaptioned<QPushButton>(this, ctlName(QStringLiteral("Command1"), i), caption, x, y, w, h);
        b->setFont(sizedFont(font(), points));
        b->setAutoDefault(false);
        Command1[static_cast<std::size_t>(i)] = b;
    };

    lblTitle = label(19, QStringLiteral("値札ﾃﾞｰﾀ書出"), 0, 5, 293, 37, Qt::AlignLeft);
    lblTitle->setFont(sizedFont(font(), 24, true));
    label(15, QStringLiteral("出荷日"), 35, 85, 76, 26, Qt::AlignRight);
    box(kCondFrom, 115, 85, 146, 10, Qt::AlignHCenter);
    label(0, QStringLiteral("～"), 280, 85, 26, 30, Qt::AlignHCenter);
    box(kCondTo, 325, 85, 146, 10, Qt::AlignHCenter);
    label(3, QStringLiteral("出力先"), 35, 145, 76, 26, Qt::AlignRight);
    box(kCondFolder, 115, 145, 426, 255, Qt::AlignLeft);
    button(kCmdBrowse, QStringLiteral("参照..."), 545, 145, 71, 31, 15.75);
    button(kCmdExport, QStringLiteral("書出"), 20, 365, 160, 67, 24);
    button(kCmdCancel, QStringLiteral("ｷｬﾝｾﾙ"), 450, 365, 160, 67, 24);

    Command1[kCmdBrowse]->setFocusPolicy(Qt::ClickFocus);  // not reached by Tab
    setTabOrder(txtCOND[kCondFrom], txtCOND[kCondTo]);
    setTabOrder(txtCOND[kCondTo], txtCOND[kCondFolder]);
    setTabOrder(txtCOND[kCondFolder], Command1[kCmdExport]);
    setTabOrder(Command1[kCmdExport], Command1[kCmdCancel]);
    setCancelButton(Command1[kCmdCancel]);

    onClick(Command1[kCmdCancel], [this] { cancelDialog(*this); });
    onClick(Command1[kCmdExport], [this] { exportClick(); });
    onClick(Command1[kCmdBrowse], [this] { browseClick(); });

    picker = new DatePicker(*this);
    picker->addBox(kCondFrom, txtCOND[kCondFrom]);
    picker->addBox(kCondTo, txtCOND[kCondTo]);
    picker->hideOn({QStringLiteral("txtCOND_2"), QStringLiteral("Command1")});
}

void fdlExpPriceTag::onLoad()
{
    Form::onLoad();
    InitForm();
}

Trap fdlExpPriceTag::trapFor(Event event, QWidget *) const
{
    return plainFor(event, {Event::KeyPress, Event::Resize, Event::Validate});
}

void fdlExpPriceTag::gotFocus(QWidget *control)
{
    picker->gotFocus(control);
}

bool fdlExpPriceTag::validate(QWidget *control)
{
    if (control == txtCOND[kCondFolder])
        iniDb().SaveCtrl(kExpDir, Value(txtCOND[kCondFolder]->text()));
    return true;
}

void fdlExpPriceTag::InitForm()
{
    setWindowTitle(QStringLiteral("値札ﾃﾞｰﾀ書出"));
    const QDate today = QDate::currentDate();

    QDate last;
    if (!dateOf(iniDb().GetCtrl(kLastExpDate), &last))
        last = today;
    const QDate from = last == today ? today : last.addDays(1);

    QDate latest;
    const Value max = LastShipDay(dataDb(), currentGrower(), shopInUse());
    if (!dateOf(max, &latest))
        latest = today;

    if (latest < from) {
        txtCOND[kCondFrom]->setText(today.toString(kDateFormat));
        txtCOND[kCondTo]->setText(today.toString(kDateFormat));
    } else {
        txtCOND[kCondFrom]->setText(from.toString(kDateFormat));
        txtCOND[kCondTo]->setText(latest.toString(kDateFormat));
    }

    const Value dir = iniDb().GetCtrl(kExpDir);
    txtCOND[kCondFolder]->setText(isBlank(dir) ? QString() : dir.toString());
}

int fdlExpPriceTag::GetData(const QDate &from, const QDate &to)
{
    return LoadPriceTagData(dataDb(), from, to, currentGrower(), shopInUse());
}

int fdlExpPriceTag::ExpData()
{
    int written = 0;
    trapped(Trap::Standard, [&] {
        const auto refuse = [this](const QString &message, QLineEdit *focusTo) {
            ShowMsg(message, kMsgExclamation);
            if (focusTo)
                focusTo->setFocus();
        };
        QDate day[kCondTo + 1];  // by box
        for (int i = kCondFrom; i <= kCondTo; ++i) {
            QLineEdit *box = txtCOND[static_cast<std::size_t>(i)];
            if (box->text().trimmed().isEmpty())
                return refuse(QStringLiteral("出荷日を指定してください。"), box);
            if (!dateOf(Value(box->text()), &day[i]))
                return refuse(QStringLiteral("日付を指定してください。"), box);
        }
        if (GetData(day[kCondFrom], day[kCondTo]) == 0)
            return refuse(QStringLiteral("出力対象データが登録されていません。"), nullptr);

        QLineEdit *folderBox = txtCOND[kCondFolder];
        const QString folder = folderBox->text();
        if (folder.isEmpty())
            return refuse(QStringLiteral("出力先を指定してください。"), folderBox);
        if (!QFileInfo(folder).isDir())
            return refuse(QStringLiteral("出力先ディレクトリが存在しません。"), folderBox);

        const QString path =
            PtagCsvPath(folder, PtagCsvFileName(day[kCondFrom], day[kCondTo], currentGrower(), shopInUse()));
        written = WritePtagCsv(path, gPtagData.at(0).PTAG);
    });
    return written;
}

void fdlExpPriceTag::exportClick()
{
    const int count = ExpData();
    if (count == 0)
        return;
    iniDb().SaveCtrl(kLastExpDate, Value(txtCOND[kCondTo]->text()));
    ShowMsg(QString::number(count) + QStringLiteral("件のラベルデータを書き出しました。"), kMsgOk);
    Unload();
}

void fdlExpPriceTag::browseClick()
{
    const QString dir = OpenDir(this, Value(QStringLiteral("書出先ﾌｫﾙﾀﾞを指定してください。")));
    if (dir.isEmpty())
        return;
    iniDb().SaveCtrl(kExpDir, Value(dir));
    txtCOND[kCondFolder]->setText(dir);
    txtCOND[kCondFolder]->setFocus();
}

}  // namespace hb
