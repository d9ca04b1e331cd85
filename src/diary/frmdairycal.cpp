#include "diary/frmdairycal.h"
#include "bookkeeping/frmledgelist.h"
#include "cultivation/frmchemilist.h"
#include "cultivation/frmplantlist.h"
#include "diary/frmdairyinput.h"
#include "shipments/frmshiplist.h"

#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/picklist.h"
#include "core/startup.h"
#include "diary/calendarpicture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <iterator>
#include <utility>
#include <vector>

namespace hb {

namespace {

const char *const kLayerCaptions[kCalLayerCount] = {"温度", "天候", "金銭", "農薬", "出荷"};
const char *const kMenuCaptions[] = {"終了", "作付", "農薬", "出荷", "勘定", "ﾒﾆｭｰ", "印刷"};

QFont pointFont(const QFont &base, double points, bool bold = false)
{
    QFont f(base);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QString layerKey(int index)
{
    return QStringLiteral("CAL_OPT") + QString::number(index);
}

}  // namespace

frmDairyCal::frmDairyCal()
    : Form(QStringLiteral("frmDairyCal")), redrawOnChange_([this] {
          if (isLoaded())
              DispData();
      })
{
    setDesignSize(12400, 9200);  // client area 818 x 586 pixels
    setWindowTitle(QStringLiteral("日誌一覧"));
    // A layer box saves only its own state as clicked, nothing the calendar read: the window stays
    // as it is after a failed load, its boxes usable.
    whenLoadFails(AfterFailedLoad::StayToBeRead);
    const QFont base = font();

    // Month and year stepping around the month label.
    const auto stepButton = [&](const QString &name, const QString &caption, int x, int w) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(x, 8, w, 32);
        b->setFont(pointFont(base, 10));
        return b;
    };
    cmdPREV_[kStepYear] = stepButton(ctlName(QStringLiteral("cmdPREV"), kStepYear), QStringLiteral("△"), 8, 40);
    cmdPREV_[kStepMonth] = stepButton(ctlName(QStringLiteral("cmdPREV"), kStepMonth), QStringLiteral("<<<"), 52, 56);
    lblYM_ = new QLabel(this);
    lblYM_->setObjectName(QStringLiteral("lblYM"));
    lblYM_->setGeometry(112, 8, 170, 32);
    lblYM_->setAlignment(Qt::AlignCenter);
    lblYM_->setFont(pointFont(base, 16, true));
    lblYM_->setToolTip(QStringLiteral("ダブルクリックで今月へ"));
    lblYM_->installEventFilter(this);
    cmdPOST_[kStepMonth] = stepButton(ctlName(QStringLiteral("cmdPOST"), kStepMonth), QStringLiteral(">>>"), 286, 56);
    cmdPOST_[kStepYear] = stepButton(ctlName(QStringLiteral("cmdPOST"), kStepYear), QStringLiteral("▽"), 346, 40);
    for (int i = 0; i < kStepCount; ++i) {
        const int months = i == kStepMonth ? 1 : 12;
        onClick(cmdPREV_[i], [this, months] { stepMonths(-months); });
        onClick(cmdPOST_[i], [this, months] { stepMonths(months); });
    }

    // The planting filter of the pesticide and shipment marks.
    label1_ = new QLabel(QStringLiteral("作付"), this);
    label1_->setObjectName(ctlName(QStringLiteral("Label1"), 1));
    label1_->setGeometry(540, 8, 44, 32);
    label1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label1_->setFont(pointFont(base, 10));
    cmbCOND_ = new QComboBox(this);
    cmbCOND_->setObjectName(ctlName(QStringLiteral("cmbCOND"), 0));
    cmbCOND_->setFont(pointFont(base, 10));
    cmbCOND_->setGeometry(590, 11, 220, 26);
    connect(cmbCOND_, &QComboBox::activated, this, [this] {
        trapped(Trap::Standard, [this] {
            if (ready_)
                DispCal();
        });
    });

    // The layers.
    for (int i = 0; i < kCalLayerCount; ++i) {
        auto *c = new QCheckBox(QString::fromUtf8(kLayerCaptions[i]), this);
        c->setObjectName(ctlName(QStringLiteral("chkCOND"), i));
        c->setGeometry(12 + i * 72, 46, 68, 24);
        c->setFont(pointFont(base, 10));
        chkCOND_[static_cast<std::size_t>(i)] = c;
        onClick(c, [this, i] { layerClicked(i); });
    }

    Picture1_ = new CalendarPicture(this);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setGeometry(8, 76, 802, 460);
    Picture1_->onMouseDown = [this](double X, double Y) {
        mouseX_ = X;
        mouseY_ = Y;
    };
    Picture1_->onClicked = [this] { trapped(Trap::Standard, [this] { dayClicked(); }); };

    // The menu: the lists on the left, print, menu and close on the right.
    const int menuX[kMenuCount] = {712, 8, 112, 216, 320, 608, 504};
    static_assert(std::size(kMenuCaptions) == kMenuCount);
    for (int i = 0; i < kMenuCount; ++i) {
        auto *b = new QPushButton(QString::fromUtf8(kMenuCaptions[i]), this);
        b->setObjectName(ctlName(QStringLiteral("cmdMENU"), i));
        b->setGeometry(menuX[i], 544, 98, 34);
        b->setFont(pointFont(base, 10));
        cmdMENU_[static_cast<std::size_t>(i)] = b;
        onClick(b, [this, i] { menuClicked(i); });
    }
}

void frmDairyCal::onLoad()
{
    Form::onLoad();
    if (gUseType == kUseSingle) {
        cmdMENU_[kMenuMain]->setVisible(true);
        cmdMENU_[kMenuClose]->setText(QStringLiteral("終了"));
    } else if (gUseType == kUseMulti) {
        cmdMENU_[kMenuMain]->setVisible(false);
        cmdMENU_[kMenuClose]->setText(QStringLiteral("閉じる"));
    }
    const QDate today = QDate::currentDate();
    gCalMonth = QDate(today.year(), today.month(), 1);
    openDataDb();
}

// The calendar only draws what it shows: every resize rescales and redraws.
void frmDairyCal::onResize()
{
    Form::onResize();
    DispData();
}

void frmDairyCal::DispData()
{
    const bool wasReady = std::exchange(ready_, false);
    std::array<bool, kCalLayerCount> on{};
    try {
        SetCmb(0);
        for (int i = 0; i < kCalLayerCount; ++i) {
            const Value v = iniDb().GetCtrl(layerKey(i));
            on[static_cast<std::size_t>(i)] = !isBlank(v) && v.toLong() == 1;
        }
    } catch (...) {
        // Nothing was drawn: the window still shows its month, and that is the month it acts on.
        if (shownMonth_.isValid()) {
            gCalMonth = shownMonth_;
            ready_ = wasReady;
        }
        throw;
    }
    for (int i = 0; i < kCalLayerCount; ++i)
        chkCOND_[static_cast<std::size_t>(i)]->setChecked(on[static_cast<std::size_t>(i)]);
    DispCal();
    ready_ = true;
}

void frmDairyCal::DispCal()
{
    Picture1_->clearPicture();
    view_ = CalView{};
    // From here the window shows gCalMonth; a read that fails below leaves its cells empty.
    shownMonth_ = gCalMonth;
    lblYM_->setText(gCalMonth.toString(QStringLiteral("yyyy年M月")));
    const QDate today = QDate::currentDate();
    const int T = today.toString(QStringLiteral("yyyyMM")) == gCalMonth.toString(QStringLiteral("yyyyMM")) ? today.day() : 0;
    geometry_ = CalGeometry::compute(Picture1_->innerHeightTwips(), Picture1_->innerWidthTwips(), gCalMonth);
    const QColor windowColor = palette().color(QPalette::Window);

    CalLayers layers{};
    for (int i = 0; i < kCalLayerCount; ++i)
        layers[static_cast<std::size_t>(i)] = chkCOND_[static_cast<std::size_t>(i)]->isChecked();
    const long plantFilter =
        cmbCOND_->currentIndex() >= 1 ? static_cast<long>(cmbCOND_->currentData().toLongLong()) : 0;
    const CalMonthData data = loadCalMonth(dataDb(), gCalMonth, currentFmrId(), layers, plantFilter);
    view_ = buildCalView(data, geometry_, layers, T, windowColor, Picture1_->font());
    Picture1_->drawMonth(view_);
}

// The box changes only once the plantings were read.
void frmDairyCal::SetCmb(int index)
{
    if (index != 0)
        return;
    std::vector<PickEntry> entries;
    for (const CalPlanting &p : loadCalPlantings(dataDb(), gCalMonth, currentFmrId()))
        entries.push_back({p.name, p.id});
    fillPickList(cmbCOND_, entries);
}

// Month and year steps move by calendar months from the first of a month.
void frmDairyCal::stepMonths(int months)
{
    gCalMonth = QDate(gCalMonth.year(), gCalMonth.month(), 1).addMonths(months);
    DispData();
}

void frmDairyCal::layerClicked(int index)
{
    if (!ready_)
        return;
    iniDb().SaveCtrl(layerKey(index), Value(chkCOND_[static_cast<std::size_t>(index)]->isChecked() ? 1 : 0));
    DispCal();
}

void frmDairyCal::dayClicked()
{
    // Only a day drawn opens: after a redraw that could not read the month its cells are empty.
    const int d = geometry_.dayAt(mouseX_, mouseY_);
    if (d == 0 || !view_.cellOfDay(d))
        return;
    const QDate day(gCalMonth.year(), gCalMonth.month(), d);
    if (!day.isValid())
        return;
    gWorkDate = Value(day);
    openDiaryDay();
}

void frmDairyCal::menuClicked(int index)
{
    switch (index) {
    case kMenuClose:
        Unload();
        if (gUseType == kUseSingle)
            EndApp();
        break;
    case kMenuPlant:
        form<frmPlantList>().showModal(this);
        break;
    case kMenuChemi:
        form<frmChemiList>().showModal(this);
        break;
    case kMenuShip:
        form<frmShipList>().showModal(this);
        break;
    case kMenuLedge:
        form<frmLedgeList>().showModal(this);
        break;
    case kMenuMain:
        showMainMenu(this);
        break;
    default:  // print: nothing
        break;
    }
}

void frmDairyCal::openDiaryDay()
{
    form<frmDairyInput>().showModal(this);
}

bool frmDairyCal::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblYM_ && event->type() == QEvent::MouseButtonDblClick) {
        trapped(Trap::Standard, [this] {
            const QDate today = QDate::currentDate();
            gCalMonth = QDate(today.year(), today.month(), 1);
            DispData();
        });
        return true;
    }
    return Form::eventFilter(watched, event);
}

}  // namespace hb
