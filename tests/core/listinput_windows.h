#pragma once
// A small list window and input window over D_PLANT that follow the list and input protocol,
// and log what they do, for the tests of the protocol.

#include "core/datepicker.h"
#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/listinput.h"
#include "core/recordhold.h"
#include "core/rowrecord.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTreeWidget>
#include <functional>

namespace lt {

struct PlantRow : hb::RowRecord<PlantRow> {
    hb::Value FMR_ID;
    hb::Value PLANT_ID;
    hb::Value PLANT_NM;
    hb::Value PLANT_DATE;
    hb::Value AREA;
    hb::Value LAST_TM;
    hb::Value HOLD_TM;

    static const std::vector<Column> &columns()
    {
        static const std::vector<Column> c{{"FMR_ID", &PlantRow::FMR_ID},     {"PLANT_ID", &PlantRow::PLANT_ID},
                                           {"PLANT_NM", &PlantRow::PLANT_NM}, {"PLANT_DATE", &PlantRow::PLANT_DATE},
                                           {"AREA", &PlantRow::AREA},         {"LAST_TM", &PlantRow::LAST_TM},
                                           {"HOLD_TM", &PlantRow::HOLD_TM}};
        return c;
    }
};

inline std::vector<PlantRow> gRows(1);
inline QStringList gLog;  // what the windows did, in order

class frmTestInput;

class frmTestList : public hb::ListForm {
public:
    frmTestList() : ListForm(QStringLiteral("frmTestList"))
    {
        setDesignSize(12400, 9200);
        txtCOND = new QLineEdit(this);
        txtCOND->setObjectName(QStringLiteral("txtCOND_0"));
        txtCOND->setGeometry(90, 20, 120, 26);
        makeListView(0, 900, 12240, 5900);
        std::array<QRect, 7> g;
        g[0] = QRect(10350, 7575, 1800, 1000);
        for (int i = 1; i <= 6; ++i)
            g[static_cast<std::size_t>(i)] = QRect(150 + (i - 1) * 1650, 7575, 1600, 1000);
        makeMenuButtons(g);
    }

    void InitForm() override
    {
        gLog << QStringLiteral("list InitForm");
        txtCOND->setText(QStringLiteral("全件"));
        setColumns({{"PLANT_ID", QStringLiteral("ID"), 0, Qt::AlignLeft},
                    {"PLANT_NM", QStringLiteral("作付名"), 4200, Qt::AlignLeft},
                    {"PLANT_DATE", QStringLiteral("作付日"), 2000, Qt::AlignHCenter},
                    {"AREA", QStringLiteral("耕作面積"), 1600, Qt::AlignRight}});
    }

    // Rows of the current grower; a query without rows keeps the array as it was.
    void refresh() override
    {
        gLog << QStringLiteral("list refresh");
        ++refreshes;
        clearRows();
        auto rs = hb::gDb->GetFwdOnlyRst(
            QStringLiteral("SELECT FMR_ID, PLANT_ID, PLANT_NM, PLANT_DATE, AREA, LAST_TM, HOLD_TM FROM D_PLANT "
                           "WHERE FMR_ID=? AND PLANT_NM LIKE ? ORDER BY PLANT_ID"),
            {hb::gFmrID, hb::Value(nameFilter)});
        std::vector<PlantRow> rows;
        while (!rs->eof()) {
            rows.push_back(PlantRow::fromRow(*rs));
            rs->MoveNext();
        }
        if (rows.empty())
            return;
        gRows = rows;
        for (const PlantRow &r : gRows) {
            addRow({r.PLANT_ID.displayText(), hb::NullToVal(r.PLANT_NM, hb::Value("")).displayText(),
                    r.PLANT_DATE.isDate() ? r.PLANT_DATE.toDate().toString(QStringLiteral("yyyy/MM/dd")) : QString(),
                    hb::NullToVal(r.AREA, hb::Value(0)).displayText()});
        }
        for (std::size_t i = 0; i < gRows.size(); ++i) {
            if (!hb::gLastPlantID.isEmpty() && gRows[i].PLANT_ID == hb::gLastPlantID)
                selectRow(static_cast<long>(i));
        }
    }

    using ListForm::setRowRule;

    QLineEdit *txtCOND = nullptr;
    QString nameFilter = QStringLiteral("%");
    int refreshes = 0;
    std::function<bool(int, long)> allow;  // mayOpen

protected:
    hb::Form &inputWindow() override;
    bool mayOpen(int mode, long row) override { return !allow || allow(mode, row); }
};

class frmTestInput : public hb::InputForm<PlantRow> {
public:
    frmTestInput() : InputForm(QStringLiteral("frmTestInput"), gRows, QStringLiteral("D_PLANT"))
    {
        setDesignSize(9000, 6000);
        const auto label = [this](const QString &name, const QString &text, int x, int y) {
            auto *l = new QLabel(text, this);
            l->setObjectName(name);
            l->setGeometry(x, y, 80, 24);
        };
        label(QStringLiteral("Label1_0"), QStringLiteral("名称"), 10, 20);
        txtDATA[0] = box(0, 100, 20, 260, this);
        label(QStringLiteral("Label1_1"), QStringLiteral("作付日"), 10, 60);
        Frame1 = new QGroupBox(QStringLiteral("日程"), this);
        Frame1->setObjectName(QStringLiteral("Frame1"));
        Frame1->setGeometry(90, 50, 400, 110);
        txtDATA[1] = box(1, 10, 25, 146, Frame1);  // 2190 twips wide, as the date boxes are
        txtDATA[2] = box(2, 200, 25, 146, Frame1);
        txtDATA[2]->setVisible(true);
        label(QStringLiteral("Label1_2"), QStringLiteral("区分"), 10, 180);
        cmbDATA[0] = new QComboBox(this);
        cmbDATA[0]->setObjectName(QStringLiteral("cmbDATA_0"));
        cmbDATA[0]->setGeometry(100, 180, 200, 26);
        cmbINFO = new QComboBox(this);
        cmbINFO->setObjectName(QStringLiteral("cmbINFO"));
        cmbINFO->setGeometry(320, 180, 150, 26);
        Check1 = new QCheckBox(QStringLiteral("有効"), this);
        Check1->setObjectName(QStringLiteral("Check1"));
        Check1->setGeometry(100, 220, 100, 24);
        lblDATA = new QLabel(this);
        lblDATA->setObjectName(QStringLiteral("lblDATA_0"));
        lblDATA->setGeometry(320, 20, 100, 24);
        makeMenuButton(1, QStringLiteral("登録"), 150, 4500, 1600, 800);
        makeMenuButton(2, QStringLiteral("完了"), 1900, 4500, 1600, 800);
        makeMenuButton(0, QStringLiteral("終了"), 7000, 4500, 1600, 800);
        picker = new hb::DatePicker(*this);
        picker->addBox(1, txtDATA[1]);
        picker->addBox(2, txtDATA[2]);
        picker->setCondition([] { return hb::gEditMode == hb::kEditAdd || hb::gEditMode == hb::kEditModify; });
        picker->hideOn({QStringLiteral("txtDATA"), QStringLiteral("cmbDATA"), QStringLiteral("cmdMENU")});
    }

    void InitForm() override
    {
        gLog << QStringLiteral("input InitForm");
        cmbDATA[0]->clear();
        cmbDATA[0]->addItems({QString(), QStringLiteral("露地"), QStringLiteral("施設")});
        cmbINFO->clear();
        cmbINFO->addItems({QStringLiteral("トマト"), QStringLiteral("なす")});
    }
    void SetMode() override
    {
        gLog << QStringLiteral("input SetMode");
        InputForm::SetMode();
    }
    void DispData() override
    {
        lblDATA->setText(hb::NullToVal(work.PLANT_ID, hb::Value(0)).displayText());
        txtDATA[0]->setText(hb::NullToVal(work.PLANT_NM, hb::Value("")).displayText());
        txtDATA[1]->setText(work.PLANT_DATE.isDate() ? work.PLANT_DATE.toDate().toString(QStringLiteral("yyyy/MM/dd"))
                                                     : QString());
    }
    bool ChkData() override
    {
        gLog << QStringLiteral("input ChkData");
        if (hb::gEditMode == hb::kEditDelete)
            return true;
        if (txtDATA[0]->text().isEmpty()) {
            hb::ShowMsg(QStringLiteral("名称を入力してください。"), hb::kMsgExclamation);
            txtDATA[0]->setFocus();
            return false;
        }
        QDateTime d;
        if (!txtDATA[1]->text().isEmpty() && !hb::parseDateText(txtDATA[1]->text(), &d)) {
            hb::ShowMsg(QStringLiteral("日付を指定してください。"), hb::kMsgExclamation);
            return false;
        }
        work.PLANT_NM = hb::Value(txtDATA[0]->text());
        work.PLANT_DATE = txtDATA[1]->text().isEmpty() ? hb::Value::null() : hb::Value(d);
        return true;
    }
    // One statement in a transaction; a failure rolls back, is reported and leaves work as it was.
    bool SaveData() override
    {
        gLog << QStringLiteral("input SaveData");
        PlantRow saved = work;
        bool ok = hb::trapped(hb::Trap::Standard, [this, &saved] {
            hb::TransactionScope tx(*hb::gDb);
            if (hb::gEditMode == hb::kEditAdd) {
                const hb::Value max = hb::gDb->DMax(QStringLiteral("PLANT_ID"), QStringLiteral("D_PLANT"),
                                                   QStringLiteral("FMR_ID=") + QString::number(hb::currentFmrId()));
                saved.PLANT_ID = failWith ? hb::Value(failWith) : hb::Value(max.isNull() ? 1 : max.toLong() + 1);
                const hb::HoldColumns h = hb::HoldColumns::forInsert();
                hb::gDb->EXEC(QStringLiteral("INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, PLANT_DATE, IDATE, UDATE, "
                                             "LAST_TM, HOLD_TM) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                              {saved.FMR_ID, saved.PLANT_ID, saved.PLANT_NM, saved.PLANT_DATE, h.idate, h.udate,
                               h.lastTm, h.holdTm});
            } else if (hb::gEditMode == hb::kEditModify) {
                const hb::HoldColumns h = hb::HoldColumns::forUpdate();
                hb::gDb->EXEC(QStringLiteral("UPDATE D_PLANT SET PLANT_NM=?, PLANT_DATE=?, UDATE=?, LAST_TM=?, HOLD_TM=? "
                                             "WHERE FMR_ID=? AND PLANT_ID=?"),
                              {saved.PLANT_NM, saved.PLANT_DATE, h.udate, h.lastTm, h.holdTm, saved.FMR_ID,
                               saved.PLANT_ID});
            } else if (hb::gEditMode == hb::kEditDelete) {
                hb::gDb->EXEC(QStringLiteral("DELETE FROM D_PLANT WHERE FMR_ID=? AND PLANT_ID=?"),
                              {saved.FMR_ID, saved.PLANT_ID});
            }
            tx.commit();
        });
        if (ok) {
            work = saved;
            hb::gLastPlantID = saved.PLANT_ID;
        }
        return ok;
    }

    QLineEdit *box(int i, int x, int y, int w, QWidget *parent)
    {
        auto *e = new QLineEdit(parent);
        e->setObjectName(ctlName(QStringLiteral("txtDATA"), i));
        e->setGeometry(x, y, w, 30);
        setSelectAllOnFocus(e);
        return e;
    }

    std::array<QLineEdit *, 3> txtDATA{};
    std::array<QComboBox *, 1> cmbDATA{};
    QComboBox *cmbINFO = nullptr;
    QCheckBox *Check1 = nullptr;
    QLabel *lblDATA = nullptr;
    QGroupBox *Frame1 = nullptr;
    hb::DatePicker *picker = nullptr;
    long failWith = 0;  // a PLANT_ID the insert uses instead of a new one

    using InputFormBase::ready;

protected:
    void newRowDefaults(PlantRow &r) override
    {
        r.FMR_ID = hb::gFmrID;
        r.PLANT_ID = hb::Value::null();
    }
    bool keepsEditable(QWidget *c) const override { return c == cmbINFO; }
    void gotFocus(QWidget *c) override { picker->gotFocus(c); }
    void refreshList() override
    {
        InputFormBase::refreshList();
    }
    void redrawCalendar() override
    {
        gLog << QStringLiteral("calendar redraw");
        InputFormBase::redrawCalendar();
    }
    bool onUnload() override
    {
        gLog << QStringLiteral("input Unload");
        return InputFormBase::onUnload();
    }
    hb::Trap trapFor(Event e, QWidget *c) const override
    {
        return e == Event::GotFocus || e == Event::Click ? hb::Trap::Standard : hb::Trap::Plain;
    }
};

inline hb::Form &frmTestList::inputWindow()
{
    return hb::form<frmTestInput>();
}

}  // namespace lt
