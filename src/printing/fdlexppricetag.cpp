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
    box(0, 115, 85, 146, 10, Qt::AlignHCenter);
    label(0, QStringLiteral("～"), 280, 85, 26, 30, Qt::AlignHCenter);
    box(1, 325, 85, 146, 10, Qt::AlignHCenter);
    label(3, QStringLiteral("出力先"), 35, 145, 76, 26, Qt::AlignRight);
    box(2, 115, 145, 426, 255, Qt::AlignLeft);
    button(2, QStringLiteral("参照..."), 545, 145, 71, 31, 15.75);
    button(1, QStringLiteral("書出"), 20, 365, 160, 67, 24);
    button(0, QStringLiteral("ｷｬﾝｾﾙ"), 450, 365, 160, 67, 24);

    Command1[2]->setFocusPolicy(Qt::ClickFocus);  // not reached by Tab
    setTabOrder(txtCOND[0], txtCOND[1]);
    setTabOrder(txtCOND[1], txtCOND[2]);
    setTabOrder(txtCOND[2], Command1[1]);
    setTabOrder(Command1[1], Command1[0]);
    setCancelButton(Command1[0]);

    onClick(Command1[0], [this] { cancelDialog(*this); });
    onClick(Command1[1], [this] { exportClick(); });
    onClick(Command1[2], [this] { browseClick(); });

    picker = new DatePicker(*this);
    picker->addBox(0, txtCOND[0]);
    picker->addBox(1, txtCOND[1]);
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
    if (control == txtCOND[2])
        iniDb().SaveCtrl(kExpDir, Value(txtCOND[2]->text()));
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
        txtCOND[0]->setText(today.toString(kDateFormat));
        txtCOND[1]->setText(today.toString(kDateFormat));
    } else {
        txtCOND[0]->setText(from.toString(kDateFormat));
        txtCOND[1]->setText(latest.toString(kDateFormat));
    }

    const Value dir = iniDb().GetCtrl(kExpDir);
    txtCOND[2]->setText(isBlank(dir) ? QString() : dir.toString());
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
            ShowMsg(message, 48);
            if (focusTo)
                focusTo->setFocus();
        };
        QDate day[2];
        for (int i = 0; i < 2; ++i) {
            QLineEdit *box = txtCOND[static_cast<std::size_t>(i)];
            if (box->text().trimmed().isEmpty())
                return refuse(QStringLiteral("出荷日を指定してください。"), box);
            if (!dateOf(Value(box->text()), &day[i]))
                return refuse(QStringLiteral("日付を指定してください。"), box);
        }
        if (GetData(day[0], day[1]) == 0)
            return refuse(QStringLiteral("出力対象データが登録されていません。"), nullptr);

        const QString folder = txtCOND[2]->text();
        if (folder.isEmpty())
            return refuse(QStringLiteral("出力先を指定してください。"), txtCOND[2]);
        if (!QFileInfo(folder).isDir())
            return refuse(QStringLiteral("出力先ディレクトリが存在しません。"), txtCOND[2]);

        const QString path =
            PtagCsvPath(folder, PtagCsvFileName(day[0], day[1], currentGrower(), shopInUse()));
        written = WritePtagCsv(path, gPtagData.at(0).PTAG);
    });
    return written;
}

void fdlExpPriceTag::exportClick()
{
    const int count = ExpData();
    if (count == 0)
        return;
    iniDb().SaveCtrl(kLastExpDate, Value(txtCOND[1]->text()));
    ShowMsg(QString::number(count) + QStringLiteral("件のラベルデータを書き出しました。"), 0);
    Unload();
}

void fdlExpPriceTag::browseClick()
{
    const QString dir = OpenDir(this, Value(QStringLiteral("書出先ﾌｫﾙﾀﾞを指定してください。")));
    if (dir.isEmpty())
        return;
    iniDb().SaveCtrl(kExpDir, Value(dir));
    txtCOND[2]->setText(dir);
    txtCOND[2]->setFocus();
}

}  // namespace hb
