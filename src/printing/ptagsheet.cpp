#include "printing/ptagsheet.h"

#include "core/helpers.h"
#include "printing/barcode.h"
#include "printing/printer.h"
#include "printing/printsetup.h"
#include "printing/sheetsource.h"

#include <algorithm>
#include <cstdlib>

namespace hb {

std::vector<PtagLabelRec> gPtagLabel;

namespace {

constexpr int kRowsPerColumn = 8;

// The application title names the sheet being drawn, and is the program's title again when
// the drawing ends, however it ends.
class SheetTitle {
public:
    explicit SheetTitle(int page)
    {
        setAppTitle(QStringLiteral("農産物値札 ") + QString::number(page) + QStringLiteral("ﾍﾟｰｼﾞ"));
    }
    ~SheetTitle() { setAppTitle(kProgramTitle); }
    SheetTitle(const SheetTitle &) = delete;
    SheetTitle &operator=(const SheetTitle &) = delete;
};

// The items drawn from here to the end of the scope form one tag of the render model.
class TagScope {
public:
    TagScope(Canvas &canvas, double x, double y) : canvas_(canvas) { canvas_.beginTag(x, y); }
    ~TagScope() { canvas_.endTag(); }
    TagScope(const TagScope &) = delete;
    TagScope &operator=(const TagScope &) = delete;

private:
    Canvas &canvas_;
};

// ASCII and the blank as full-width characters.
QString fullWidth(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c == QLatin1Char(' '))
            c = QChar(0x3000);
        else if (c.unicode() >= 0x21 && c.unicode() <= 0x7E)
            c = QChar(c.unicode() - 0x21 + 0xFF01);
    }
    return out;
}

}  // namespace

QString PtagPriceText(const Currency &price)
{
    // Whole yen, halves away from zero, grouped by thousands.
    const std::int64_t scaled = price.scaled;
    std::int64_t whole = std::llabs(scaled) / 10000;
    if (std::llabs(scaled) % 10000 >= 5000)
        ++whole;
    QString digits = QString::number(whole);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    const QString text = (scaled < 0 && whole != 0 ? QStringLiteral("-") : QString()) + QStringLiteral("￥") + digits;
    return fullWidth(text);
}

void PrintReport(int repId, Canvas &canvas, float x, float y, int fromPage, int toPage)
{
    if (repId == kPtagReport)
        PrintPtagPages(canvas, x, y, fromPage, toPage);
}

void PrintPtagPages(Canvas &canvas, float x, float y, int fromPage, int toPage)
{
    for (int page = fromPage; page <= toPage; ++page)
        PrintPtagPage(canvas, x, y, page);
}

void MakePtagList()
{
    if (gPtagData.empty())
        throw HbError(kErrSubscript, QStringLiteral("インデックスが有効範囲にありません。"));
    const PtagDataRec &data = gPtagData[0];
    // A skip below 0 counts as 0.
    const int skip = std::max<int>(0, data.SKIP_CNT);
    gPtagLabel.assign(static_cast<std::size_t>(skip) + 1, PtagLabelRec());
    std::size_t next = static_cast<std::size_t>(skip);
    for (const PtagRec &row : data.PTAG) {
        if (row.LABEL.JAN_CD.isEmpty() || row.KIND != PtagRec::kShipmentKind)
            continue;
        for (std::int32_t n = 0; n < row.LABEL_CNT; ++n) {
            if (next >= gPtagLabel.size())
                gPtagLabel.resize(next + 1);
            gPtagLabel[next] = row.LABEL;
            ++next;
        }
    }
}

void PrintPtagPage(Canvas &canvas, float x, float y, int page)
{
    if (page <= 0)
        return;
    MakePtagList();
    const SheetTitle title(page);
    const long first = static_cast<long>(page - 1) * kTagsPerSheet;
    const long upper = static_cast<long>(gPtagLabel.size()) - 1;
    const long last = std::min(static_cast<long>(page) * kTagsPerSheet - 1, upper);
    if (upper < first)
        return;

    long offX = 0;
    long offY = 0;
    if (canvas.isPrinter()) {
        GetPrinterOffset(offX, offY);
        SetPrinterPaper();
    }
    for (long i = first; i <= last; ++i) {
        const long r = i % kTagsPerSheet;
        const long column = r / kRowsPerColumn;
        const long row = r % kRowsPerColumn;
        const float tagX = static_cast<float>(x - offX + column * kTagPitchX);
        const float tagY = static_cast<float>(y - offY + row * kTagPitchY);
        DrawPtag(canvas, tagX, tagY, gPtagLabel[static_cast<std::size_t>(i)]);
    }
    canvas.EndDoc();
}

void DrawPtag(Canvas &canvas, float x, float y, const PtagLabelRec &label)
{
    if (label.JAN_CD.isEmpty())
        return;
    const TagScope tag(canvas, x, y);
    PtagSheetSource &source = ptagSheetSource();
    canvas.DrawWidth = 1;
    canvas.DrawStyle = 0;

    canvas.PaintPicture(source.logo(), QStringLiteral("LOGO"), x + 170.1, y + 56.7, 2268, 226.8);

    QString producer = QStringLiteral("生産者：") + label.FMR_NM;
    if (!label.TEL_NO_S.isEmpty())
        producer += QLatin1Char('(') + label.TEL_NO_S + QLatin1Char(')');
    PrintFitText(canvas, x + 170.1, y + 340.2, producer, 0, 10, 2721.6);
    PrintFitText(canvas, x + 170.1, y + 538.65, QStringLiteral("品名：") + label.PRD_NM, 0, 12, 3402.0);
    PrintFitText(canvas, x + 170.1, y + 850.5, QStringLiteral("価格: "), 0, 12, 567);

    canvas.setBold(true);
    PrintFitText(canvas, x + 737.1, y + 793.8, PtagPriceText(label.SHOP_PRC), 0, 16, 1701);
    canvas.setBold(false);

    // 15 mm, as a whole number of twips (850.5 rounded half to even).
    const long qrSize = 850;
    DrawQRCode(canvas, source.qrScratch(), label.QR_TEXT, x + 2948.4, y + 56.7, qrSize,
               GetQRVersion(label.QR_TEXT, 3), 3);

    if (!label.LOCATE.isEmpty())
        PrintFitText(canvas, x + 2494.8, y + 907.2, label.LOCATE + QStringLiteral("産"), 1, 9, 623.7);
    if (label.PLAS)
        canvas.PaintPicture(source.plasticMark(), QStringLiteral("PURA"), x + 3231.9, y + 793.8, 340.2, 289.17);

    DrawJanCode(canvas, label.JAN_CD, x + 170.1, y + 1134, 1728, 680.4);

    canvas.DrawStyle = 0;
    canvas.Box(x + 2041.2, y + 1134, x + 3572.1, y + 1814.4, Qt::black);
    if (source.frameOn())
        canvas.Box(x, y, x + kTagPitchX, y + kTagPitchY, Qt::black);
}

}  // namespace hb
