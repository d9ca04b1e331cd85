#pragma once
// What the printing tests share: price-tag rows, a sheet source they control, fake printers that
// keep what they were sent, and the bar-code reader (zbarimg) over pictures and PDF pages.

#include "common/harness.h"
#include "common/printers.h"
#include "common/programdir.h"
#include "common/scriptedui.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "printing/canvas.h"
#include "printing/fdlpreview.h"
#include "printing/printer.h"
#include "printing/ptag.h"
#include "printing/ptagsheet.h"
#include "printing/sheetsource.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

namespace hbtest {

// ---- price-tag rows ---------------------------------------------------------------------------

// A label with a code and a trace address of its own for each n.
inline hb::PtagLabelRec tagLabel(int n)
{
    hb::PtagLabelRec l;
    l.JAN_CD = hb::GetCheckDigit(QStringLiteral("49%1").arg(n, 10, 10, QLatin1Char('0')));
    l.QR_TEXT = QStringLiteral("http://trace.example.jp/cropsight/%1/%2/").arg(1 + n % 7).arg(n);
    l.FMR_NM = QStringLiteral("山田農園");
    l.TEL_NO_S = QStringLiteral("0263-12-3456");
    l.PRD_NM = QStringLiteral("大根");
    l.SHOP_PRC = hb::Currency::fromDouble(100 + n);
    l.LOCATE = QStringLiteral("信州");
    l.PLAS = n % 2 == 0;
    return l;
}

struct TagRow {
    long count;
    hb::PtagLabelRec label;
    std::int16_t kind = hb::PtagRec::kShipmentKind;
};

// gPtagData as a build leaves it: element 0 with the skip count and one row per entry.
inline void setTagRows(int skip, const std::vector<TagRow> &rows)
{
    hb::gPtagData.assign(1, hb::PtagDataRec());
    hb::gPtagData[0].SKIP_CNT = static_cast<std::int16_t>(skip);
    if (rows.empty())
        return;
    hb::gPtagData[0].PTAG.clear();
    for (const TagRow &r : rows) {
        hb::PtagRec rec;
        rec.KIND = r.kind;
        rec.LABEL_CNT = static_cast<std::int32_t>(r.count);
        rec.LABEL = r.label;
        rec.PRD_NM = r.label.PRD_NM;
        hb::gPtagData[0].PTAG.push_back(rec);
    }
}

// n tags, each a row of one label of its own.
inline void setTags(int skip, int n)
{
    std::vector<TagRow> rows;
    for (int i = 0; i < n; ++i)
        rows.push_back({1, tagLabel(i)});
    setTagRows(skip, rows);
}

// The sheet position (0 to 23) of each tag drawn, from its corner and the sheet's origin.
inline std::vector<int> tagPositions(const hb::RenderModel &m, double x0 = 0, double y0 = 0)
{
    std::vector<int> out;
    for (const hb::RenderTag &t : m.tags) {
        const int column = static_cast<int>(std::lround((t.corner.x() - x0) / hb::kTagPitchX));
        const int row = static_cast<int>(std::lround((t.corner.y() - y0) / hb::kTagPitchY));
        out.push_back(column * 8 + row);
    }
    return out;
}

// The texts of the model, in drawing order.
inline QStringList texts(const std::vector<hb::RenderItem> &items)
{
    QStringList out;
    for (const hb::RenderItem &i : items)
        if (i.kind == hb::RenderItem::Kind::Text)
            out << i.text;
    return out;
}

// Shop `id` in the master database, its bar code the product in digits 1-4, the price in 5-9 and
// the grower in 10-12, with that trace site (Null: none).
inline void putTagShop(long id, const hb::Value &url)
{
    hb::gMst->EXEC("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, BCD_PRD_ID_STA, BCD_PRD_ID_LEN, BCD_AMT_01_STA, "
                   "BCD_AMT_01_LEN, BCD_FMR_ID_STA, BCD_FMR_ID_LEN, WWW_URL, UPLOAD_FILE_TYPE) "
                   "VALUES (?, '直売所', 1, 4, 5, 5, 10, 3, ?, 1)",
                   {hb::Value(id), url});
}

// Growers 1 (with a phone number) and 2 (without).
inline void putTagGrowers()
{
    hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM, TEL_NO_S) VALUES (1, '山田太郎', '0263-12-3456')");
    hb::gMst->EXEC("INSERT INTO M_FMR (FMR_ID, FMR_NM, TEL_NO_S) VALUES (2, '鈴木花子', '')");
}

// ---- the sheet's source ---------------------------------------------------------------------

// The frame option and pictures as a test sets them, installed for the scope of the object.
class TestSheetSource : public hb::PtagSheetSource {
public:
    TestSheetSource() { hb::setPtagSheetSource(this); }
    ~TestSheetSource() override { hb::setPtagSheetSource(nullptr); }
    bool frame = false;
    hb::QrScratch scratch;
    bool frameOn() override { return frame; }
    QImage logo() override
    {
        static const QImage img = hb::defaultPtagLogo();
        return img;
    }
    QImage plasticMark() override
    {
        static const QImage img = hb::plasticMarkPicture();
        return img;
    }
    hb::QrScratch &qrScratch() override { return scratch; }
};

// ---- drawing a sheet on a picture -----------------------------------------------------------

// A white A4 picture at `dpi`, drawn with the sheet's origin at (x, y) twips.
inline QImage renderSheet(int page, double dpi, float x, float y, hb::RenderModel *model = nullptr)
{
    const double scale = dpi / 1440.0;
    QImage img(qRound(11906 * scale), qRound(16838 * scale), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(scale, scale);
    hb::PictureCanvas canvas(p);
    hb::PrintReport(hb::kPtagReport, canvas, x, y, page, page);
    p.end();
    if (model)
        *model = canvas.model();
    return img;
}

// ---- fake printers --------------------------------------------------------------------------

// A document as a fake printer received it.
struct FakeDocument {
    QString printer;
    QString title;
    int copies = 0;
    int orientation = 0;
    int paperBin = 0;
    QImage page;
};

// What the fake printers saw, shared with the test.
struct FakePrintLog {
    std::vector<FakeDocument> documents;
    std::vector<std::pair<QString, int>> binsSet;          // printer, bin
    std::vector<std::pair<QString, int>> orientationsSet;  // printer, orientation
    QStringList opened;                                    // printers opened, in order
    // Called when a document begins (a test may raise, or post events).
    std::function<void(const QString &title)> onBegin;
};

class FakeDevice : public hb::PrintDevice {
public:
    FakeDevice(const QString &name, const hb::DeviceCaps &caps, std::shared_ptr<FakePrintLog> log)
        : name_(name), caps_(caps), log_(std::move(log))
    {
    }
    QString deviceName() const override { return name_; }
    hb::DeviceCaps caps() override { return caps_; }
    int orientation() const override { return orientation_; }
    void setOrientation(int o) override
    {
        orientation_ = o;
        log_->orientationsSet.emplace_back(name_, o);
    }
    int paperBin() const override { return bin_; }
    void setPaperBin(int bin) override
    {
        bin_ = bin;
        log_->binsSet.emplace_back(name_, bin);
    }
    int copies() const override { return copies_; }
    void setCopies(int copies) override { copies_ = copies; }
    QPaintDevice *beginDocument(const QString &title) override
    {
        if (log_->onBegin)
            log_->onBegin(title);
        const int dpi = caps_.logPixelsX > 0 ? caps_.logPixelsX : 150;
        page_ = QImage(qRound(11906 * dpi / 1440.0), qRound(16838 * dpi / 1440.0), QImage::Format_RGB32);
        page_.setDotsPerMeterX(qRound(dpi / 0.0254));
        page_.setDotsPerMeterY(qRound((caps_.logPixelsY > 0 ? caps_.logPixelsY : dpi) / 0.0254));
        page_.fill(Qt::white);
        title_ = title;
        return &page_;
    }
    void endDocument() override
    {
        log_->documents.push_back({name_, title_, copies_, orientation_, bin_, page_});
    }
    void abortDocument() override {}

private:
    QString name_;
    hb::DeviceCaps caps_;
    std::shared_ptr<FakePrintLog> log_;
    int orientation_ = 1;
    int bin_ = 0;
    int copies_ = 1;
    QString title_;
    QImage page_;
};

class FakePrinters : public hb::PrinterSystem {
public:
    struct Printer {
        QString name;
        hb::DeviceCaps caps{true, 150, 150, 0, 0};
    };
    FakePrinters(std::vector<Printer> list, QString defaultName, std::shared_ptr<FakePrintLog> log)
        : list_(std::move(list)), default_(std::move(defaultName)), log_(std::move(log))
    {
    }
    QStringList printerNames() override
    {
        QStringList names;
        for (const Printer &p : list_)
            names << p.name;
        return names;
    }
    QString defaultPrinterName() override { return default_; }
    std::unique_ptr<hb::PrintDevice> openPrinter(const QString &name) override
    {
        log_->opened << name;
        for (const Printer &p : list_)
            if (p.name == name)
                return std::make_unique<FakeDevice>(name, p.caps, log_);
        return std::make_unique<FakeDevice>(name, hb::DeviceCaps{false, 0, 0, 0, 0}, log_);
    }

private:
    std::vector<Printer> list_;
    QString default_;
    std::shared_ptr<FakePrintLog> log_;
};

// Installs fake printers (none: the PDF stands in) and returns what they will see.
inline std::shared_ptr<FakePrintLog> useFakePrinters(std::vector<FakePrinters::Printer> list = {},
                                                     const QString &defaultName = QString())
{
    auto log = std::make_shared<FakePrintLog>();
    hb::setPrinterSystem(std::make_unique<FakePrinters>(std::move(list), defaultName, log));
    return log;
}

// Puts the printing state back as at the start: the platform's printers, no price-tag rows, no
// report handed over.
inline void resetPrinting()
{
    hb::setPrinterSystem(nullptr);
    hb::gPtagData.assign(1, hb::PtagDataRec());
    hb::gPtagLabel.clear();
    hb::gRepId = 0;
    hb::gPageCount = 0;
}

// ---- reading symbols back -------------------------------------------------------------------

inline bool haveTool(const char *name)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

#define REQUIRE_READER()                                                                     \
    if (!hbtest::haveTool("zbarimg"))                                                        \
    GTEST_SKIP() << "zbarimg (zbar-tools) is not installed: symbols cannot be read back"

// What the reader finds in each picture, "TYPE:data" per symbol, one list per picture.
inline std::vector<QStringList> readSymbols(const std::vector<QImage> &pictures)
{
    std::vector<QStringList> found;
    const QString zbar = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    if (zbar.isEmpty())
        return found;
    QTemporaryDir dir;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const QString path = dir.filePath(QStringLiteral("symbol%1.png").arg(i));
        pictures[i].save(path);
        QProcess p;
        p.start(zbar, {QStringLiteral("-q"), QStringLiteral("-Supca.disable"), QStringLiteral("--nodbus"), path});
        p.waitForFinished(120000);
        QStringList symbols =
            QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        symbols.sort();
        found.push_back(symbols);
    }
    return found;
}

// The symbols of a sheet's tags as the reader reports them, sorted.
inline QStringList expectedSymbols(const std::vector<hb::PtagLabelRec> &labels)
{
    QStringList out;
    for (const hb::PtagLabelRec &l : labels) {
        out << QStringLiteral("EAN-13:") + l.JAN_CD;
        if (!l.QR_TEXT.isEmpty())
            out << QStringLiteral("QR-Code:") + l.QR_TEXT;
    }
    out.sort();
    return out;
}

// The first page of a PDF file as a grey picture at `dpi` (pdftoppm); a null picture on failure.
inline QImage pdfPage(const QString &pdf, int dpi)
{
    QTemporaryDir dir;
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                         QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                         QStringLiteral("-gray"), QStringLiteral("-png"), pdf, dir.filePath(QStringLiteral("page"))});
    p.waitForFinished(120000);
    const QStringList pngs = QDir(dir.path()).entryList({QStringLiteral("page*.png")});
    if (pngs.isEmpty())
        return QImage();
    QImageReader::setAllocationLimit(512);  // an A4 page at 600 dpi
    return QImage(dir.filePath(pngs.first()));
}

// What a tool writes on its standard output (pdftotext -raw keeps the order in which a PDF's
// texts were drawn; pdffonts lists the faces it carries).
inline QString toolOutput(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Where test pictures are kept for a person to look at.
inline QString picturePath(const QString &name)
{
    return QDir::temp().filePath(name);
}

// ---- the program folder for printing --------------------------------------------------------

// A program folder with its databases (files), report 10 chosen, the sheet source and the
// printers under the test's control.
class PrintFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.createAndOpen();
        hb::gRepId = hb::kPtagReport;
        hb::gPageCount = 0;
        printLog = useFakePrinters();
    }
    void TearDown() override
    {
        hb::destroyForms();
        settle();
        resetPrinting();
        ProgramDir::releaseGlobals();
    }
    // Stores the report's settings row as the margin dialog would.
    static void storeMargins(double leftTwips, double topTwips, const hb::Value &printer = hb::Value(""),
                             const hb::Value &bin = hb::Value(0))
    {
        hb::gINI->EXEC("DELETE FROM S_REP WHERE REP_ID=10");
        hb::gINI->EXEC("INSERT INTO S_REP (REP_ID, LEFT_MGN, TOP_MGN, PRINTER_NM, PAPER_BIN) VALUES (10, ?, ?, ?, ?)",
                       {hb::Value(leftTwips), hb::Value(topTwips), printer, bin});
    }

    // The preview of report 10 with that many pages, shown and active.
    static hb::fdlPreview &openPreview(int pages)
    {
        hb::gPageCount = pages;
        hb::fdlPreview &f = hb::form<hb::fdlPreview>();
        f.showModeless();
        EXPECT_TRUE(activate(&f));
        return f;
    }

    ProgramDir dir;
    ScopedScriptedUi ui;
    TestSheetSource source;
    std::shared_ptr<FakePrintLog> printLog;
};

}  // namespace hbtest
