#include "printing/fdlpreview.h"

#include "core/controls.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/waitcursor.h"
#include "core/textlimit.h"
#include "printing/fdlsetmgn.h"
#include "printing/fdlsetprintcopy.h"
#include "printing/printsetup.h"
#include "printing/ptagsheet.h"
#include "printing/repsettings.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

namespace hb {

namespace {


// A text as a 16-bit page number: halves to even; a text that is no number, or a number out
// of range, is an error.
int pageNumber(const QString &text)
{
    double v = 0;
    if (!parseNumber(text, &v))
        throw HbError(kErrTypeMismatch, QStringLiteral("型が一致しません。"));
    const std::int64_t n = roundHalfEven(v);
    if (n < INT16_MIN || n > INT16_MAX)
        throw HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
    return static_cast<int>(n);
}

// A number as the page box shows it.
QString numberText(double v)
{
    return QString::number(v, 'g', 15);
}

void setBoxLocked(QLineEdit *box, bool locked)
{
    box->setReadOnly(locked);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, locked ? pal.color(QPalette::Button) : QColor(Qt::white));
    box->setPalette(pal);
}

}  // namespace

void PreviewReport(int repId, int pageCount, QWidget *owner)
{
    gRepId = repId;
    gPageCount = pageCount;
    form<fdlPreview>().showModal(owner);
}

QImage &PreviewPicture::clear()
{
    image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(Qt::white);
    return image_;
}

void PreviewPicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!image_.isNull())
        p.drawImage(0, 0, image_);
}

fdlPreview::fdlPreview() : Form(QStringLiteral("fdlPreview"))
{
    setSizable(true);
    scaling().keepFont = {QStringLiteral("HSc"), QStringLiteral("VSc"), QStringLiteral("Sli")};

    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("mnuBar"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(bar);
    layout->addStretch();

    QMenu *file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("mnuFILE"));
    mnuSET_MGN = file->addAction(QStringLiteral("余白設定...(&M)"));
    mnuSET_MGN->setObjectName(QStringLiteral("mnuSET_MGN"));
    mnuPRINT = file->addAction(QStringLiteral("印刷...(&P)"));
    mnuPRINT->setObjectName(QStringLiteral("mnuPRINT"));
    file->addSeparator();
    mnuCLOSE = file->addAction(QStringLiteral("閉じる(&X)"));
    mnuCLOSE->setObjectName(QStringLiteral("mnuCLOSE"));
    QMenu *disp = bar->addMenu(QStringLiteral("表示(&D)"));
    disp->setObjectName(QStringLiteral("mnuDISP_CAP"));
    const char *const zooms[kZoomCount] = {"&50%", "&100%", "&200%"};
    for (int i = 0; i < kZoomCount; ++i) {
        mnuDISP[static_cast<std::size_t>(i)] = disp->addAction(QString::fromLatin1(zooms[i]));
        mnuDISP[static_cast<std::size_t>(i)]->setObjectName(ctlName(QStringLiteral("mnuDISP"), i));
    }
    QMenu *move = bar->addMenu(QStringLiteral("移動(&M)"));
    move->setObjectName(QStringLiteral("mnuMOVE_TITLE"));
    const char *const moves[kMoveCount] = {"最初", "前", "次", "最後"};
    for (int i = 0; i < kMoveCount; ++i) {
        mnuMOVE[static_cast<std::size_t>(i)] = move->addAction(QString::fromUtf8(moves[i]));
        mnuMOVE[static_cast<std::size_t>(i)]->setObjectName(ctlName(QStringLiteral("mnuMOVE"), i));
    }

    // Design positions in twips, below the menu bar.
    const int top = bar->sizeHint().height();
    const auto place = [top](QWidget *w, int x, int y, int width, int height) {
        w->setGeometry(twipsRect(x, y, width, height).translated(0, top));
    };
    struct Button {
        int index;
        const char *caption;
        int x, width;
    };
    const Button buttons[] = {
        {kCmdClose, "閉じる", 10425, 1600}, {kCmdPrintPage, "ﾍﾟｰｼﾞ印刷", 0, 1600}, {kCmdSetup, "印刷設定", 1650, 1600},
        {kCmdFirst, "|< 最初", 3300, 1000}, {kCmdPrevious, "< 前", 4350, 800},   {kCmdNext, "次 >", 6750, 800},
        {kCmdLast, "最後 >|", 7575, 1000},
    };
    for (const Button &b : buttons) {
        auto *button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setObjectName(ctlName(QStringLiteral("Command1"), b.index));
        place(button, b.x, 0, b.width, 600);
        Command1[static_cast<std::size_t>(b.index)] = button;
    }
    txtPAGE = new QLineEdit(QStringLiteral("1"), this);
    txtPAGE->setObjectName(QStringLiteral("txtPAGE"));
    txtPAGE->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    limitCharacters(txtPAGE, 3);
    txtPAGE->setAttribute(Qt::WA_InputMethodEnabled, false);
    place(txtPAGE, 5175, 0, 600, 600);
    auto *slash = new QLabel(QStringLiteral("/"), this);
    slash->setObjectName(QStringLiteral("Label1"));
    slash->setAlignment(Qt::AlignCenter);
    place(slash, 5775, 0, 315, 600);
    txtPAGES = new QLineEdit(this);
    txtPAGES->setObjectName(QStringLiteral("txtPAGES"));
    txtPAGES->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtPAGES->setReadOnly(true);
    txtPAGES->setFocusPolicy(Qt::NoFocus);
    setBoxLocked(txtPAGES, true);
    place(txtPAGES, 6075, 0, 600, 600);
    Slider1 = new QSlider(Qt::Horizontal, this);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(-16, 16);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(2);
    Slider1->setValue(0);
    place(Slider1, 8625, 0, 1740, 600);

    pctPreview = new PreviewPicture(this);
    pctPreview->setObjectName(QStringLiteral("pctPreview"));
    place(pctPreview, 75, 675, 11865, 7440);
    VScrl = new QScrollBar(Qt::Vertical, this);
    VScrl->setObjectName(QStringLiteral("VScrl"));
    place(VScrl, 11925, 675, 240, 7440);
    HScrl = new QScrollBar(Qt::Horizontal, this);
    HScrl->setObjectName(QStringLiteral("HScrl"));
    place(HScrl, 0, 8100, 11940, 240);
    for (QScrollBar *s : {HScrl, VScrl}) {
        s->setRange(0, 0);
        s->setSingleStep(1);
    }

    onClick(Command1[kCmdClose], [this] { Unload(); });
    onClick(Command1[kCmdPrintPage], [this] { PrintPage(); });
    onClick(Command1[kCmdSetup], [this] {
        form<fdlSetMgn>().showModal(this);
        PrintPreview();
    });
    for (int i = 0; i < kMoveCount; ++i) {
        const Move m = static_cast<Move>(i);
        onClick(Command1[static_cast<std::size_t>(kCmdFirst + i)], [this, m] { navigate(m); });
        connect(mnuMOVE[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, m] { handle([&] { navigate(m); }); });
    }
    for (int i = 0; i < kZoomCount; ++i)
        connect(mnuDISP[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { handle([&] { zoomTo(i); }); });
    connect(mnuCLOSE, &QAction::triggered, this, [this] { handle([&] { Unload(); }); });
    // The margins change with no redraw from the menu: they show at the next redraw.
    connect(mnuSET_MGN, &QAction::triggered, this, [this] { handle([] { form<fdlSetMgn>().showModal(nullptr); }); });
    connect(mnuPRINT, &QAction::triggered, this, [this] { handle([this] { form<fdlSetPrintCopy>().showModal(this); }); });
    connect(Slider1, &QSlider::valueChanged, this, [this] { handle([&] { PrintPreview(); }); });
    for (QScrollBar *s : {HScrl, VScrl})
        connect(s, &QScrollBar::valueChanged, this, [this] { handle([&] { scrolled(); }); });

    setTabOrder(Command1[kCmdPrintPage], Command1[kCmdSetup]);
    setTabOrder(Command1[kCmdSetup], Command1[kCmdFirst]);
    setTabOrder(Command1[kCmdFirst], Command1[kCmdPrevious]);
    setTabOrder(Command1[kCmdPrevious], txtPAGE);
    setTabOrder(txtPAGE, Command1[kCmdNext]);
    setTabOrder(Command1[kCmdNext], Command1[kCmdLast]);
    setTabOrder(Command1[kCmdLast], Slider1);
    setTabOrder(Slider1, Command1[kCmdClose]);
}

void fdlPreview::handle(const std::function<void()> &body)
{
    trapped(Trap::Numbered, body);
}

void fdlPreview::onLoad()
{
    Form::onLoad();
    originX_ = 0;
    originY_ = 0;
    page_ = 1;
}

void fdlPreview::onResize()
{
    // The first showing reads the report and draws page 1; a later resize keeps the page, the
    // page box and the zoom, and only lays out and redraws.
    if (isFirstResize())
        InitForm();
    SetSize();
    PrintPreview();
}

void fdlPreview::InitForm()
{
    page_ = 1;
    txtPAGES->setText(QString::number(gPageCount));
    const RepCatalogue rep = ReadRepCatalogue(gRepId);
    if (!rep.found)
        return;
    setWindowTitle(NullToVal(rep.REP_NM, Value(QString())).toString());
    paperHeight_ = static_cast<float>(rep.HEIGHT.toDouble());
    paperWidth_ = static_cast<float>(rep.WIDTH.toDouble());
}

double fdlPreview::zoom() const
{
    return static_cast<float>(std::pow(2.0, Slider1->value() / 4.0));
}

void fdlPreview::PrintPreview()
{
    SetSize();
    const double z = zoom();
    // Cleared first: a page whose settings cannot be read shows nothing of the page before.
    QImage &picture = pctPreview->clear();
    model_ = RenderModel();
    pctPreview->update();
    const RepMargins margins = ReadRepMargins(gRepId);
    {
        QPainter p(&picture);
        // One unit of the picture is one twip of the sheet, drawn z times its size.
        p.scale(z / kTwipsPerPixel, z / kTwipsPerPixel);
        PictureCanvas canvas(p);
        const auto keep = qScopeGuard([&] { model_ = canvas.model(); });
        PrintReport(gRepId, canvas, margins.left + originX_, margins.top + originY_, page_, page_);
        canvas.Box(originX_, originY_, originX_ + paperWidth_, originY_ + paperHeight_, Qt::black);
    }
    pctPreview->update();
    SetTbrBtn();
}

void fdlPreview::SetSize()
{
    Form::SetSize();
    const double z = zoom();
    struct Range {
        QScrollBar *bar;
        double paper;
        int pictureTwips;
    };
    const Range ranges[] = {
        {HScrl, paperWidth_, qRound(pctPreview->width() * kTwipsPerPixel)},
        {VScrl, paperHeight_, qRound(pctPreview->height() * kTwipsPerPixel)},
    };
    for (const Range &r : ranges) {
        const double beyond = r.paper - r.pictureTwips / z;
        const QSignalBlocker quiet(r.bar);
        r.bar->setMinimum(0);
        r.bar->setMaximum(beyond > 0 ? static_cast<int>(roundHalfEven(beyond)) : 0);
        r.bar->setPageStep(r.pictureTwips);
        r.bar->setSingleStep(1);
    }
    // The values stay within the new ranges, and the origin with them.
    originX_ = static_cast<float>(-HScrl->value());
    originY_ = static_cast<float>(-VScrl->value());
}

void fdlPreview::scrolled()
{
    originX_ = static_cast<float>(-HScrl->value());
    originY_ = static_cast<float>(-VScrl->value());
    PrintPreview();
}

void fdlPreview::SetTbrBtn()
{
    const bool onePage = Val(txtPAGES->text()) == 1;
    if (onePage) {
        setBoxLocked(txtPAGE, true);
        for (int i = kCmdFirst; i <= kCmdLast; ++i)
            Command1[static_cast<std::size_t>(i)]->setEnabled(false);
        for (QAction *a : mnuMOVE)
            a->setEnabled(false);
        return;
    }
    const bool atFirst = Val(txtPAGE->text()) == 1;
    const bool atLast = txtPAGE->text() == txtPAGES->text();
    Command1[kCmdFirst]->setEnabled(!atFirst);
    Command1[kCmdPrevious]->setEnabled(!atFirst);
    mnuMOVE[kMoveFirst]->setEnabled(!atFirst);
    mnuMOVE[kMovePrevious]->setEnabled(!atFirst);
    Command1[kCmdNext]->setEnabled(!atLast);
    Command1[kCmdLast]->setEnabled(!atLast);
    mnuMOVE[kMoveNext]->setEnabled(!atLast);
    mnuMOVE[kMoveLast]->setEnabled(!atLast);
}

void fdlPreview::navigate(Move move)
{
    const double n = Val(txtPAGE->text());
    const double c = Val(txtPAGES->text());
    QString text;
    switch (move) {
    case kMoveFirst:
        if (n != 1)
            text = QStringLiteral("1");
        break;
    case kMovePrevious:
        if (n != 1)
            text = numberText(n - 1);
        break;
    case kMoveNext:
        if (c > n)
            text = numberText(n + 1);
        break;
    case kMoveLast:
        // As the buttons' state: the texts are compared, so "02" on the last page becomes "2".
        if (txtPAGE->text() != txtPAGES->text())
            text = txtPAGES->text();
        break;
    default:
        break;
    }
    if (text.isNull())
        return;
    txtPAGE->setText(text);
    page_ = pageNumber(text);
    PrintPreview();
}

void fdlPreview::zoomTo(int index)
{
    static const int kSlider[kZoomCount] = {-4, 0, 4};
    Slider1->setValue(kSlider[index]);
    PrintPreview();
}

void fdlPreview::PrintPage()
{
    QStringList files;
    {
        const WaitCursor busy;
        page_ = pageNumber(txtPAGE->text());
        files = PrintOnPrinter(gRepId, page_, page_);
    }
    NoticePdfFiles(files);
}

bool fdlPreview::validate(QWidget *control)
{
    if (control == txtPAGE) {
        // No range check: any page is drawn, an empty one shows the outline only.
        page_ = pageNumber(txtPAGE->text());
        PrintPreview();
    }
    return true;
}

void fdlPreview::keyPress(QWidget *, int &key)
{
    if (key == 13)
        key = 0;
}

}  // namespace hb
