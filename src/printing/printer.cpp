#include "printing/printer.h"

#include "core/db.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "printing/repsettings.h"

#include <QDir>
#include <QPainter>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <algorithm>

namespace hb {

namespace {

constexpr double kTwipsPerInch = 1440.0;

HbError printerError()
{
    return HbError(kErrPrinter, QStringLiteral("プリンタ エラーです。"));
}

HbError pdfWriteError(const QString &path)
{
    return HbError(kErrPathAccess, QStringLiteral("PDFファイルを書き込めません：") + QDir::toNativeSeparators(path));
}

// The platform's bin numbers as Qt names the paper sources; 0 when Qt has none for it.
QPrinter::PaperSource paperSourceOf(int bin, bool *known)
{
    struct Entry {
        int bin;
        QPrinter::PaperSource source;
    };
    static const Entry kSources[] = {
        {1, QPrinter::Upper},         {2, QPrinter::Lower},          {3, QPrinter::Middle},
        {4, QPrinter::Manual},        {5, QPrinter::Envelope},       {6, QPrinter::EnvelopeManual},
        {7, QPrinter::Auto},          {8, QPrinter::Tractor},        {9, QPrinter::SmallFormat},
        {10, QPrinter::LargeFormat},  {11, QPrinter::LargeCapacity}, {14, QPrinter::Cassette},
        {15, QPrinter::FormSource},
    };
    for (const Entry &e : kSources) {
        if (e.bin == bin) {
            *known = true;
            return e.source;
        }
    }
    *known = false;
    return QPrinter::Auto;
}

// An installed printer through Qt's print support.
class QtPrinterDevice : public PrintDevice {
public:
    explicit QtPrinterDevice(const QPrinterInfo &info) : printer_(info, QPrinter::HighResolution)
    {
        // The painter's origin is the printable area's corner; the sheet subtracts the offsets.
        printer_.setFullPage(false);
    }
    QString deviceName() const override { return printer_.printerName(); }
    DeviceCaps caps() override
    {
        DeviceCaps c;
        c.hasDeviceContext = printer_.isValid();
        c.logPixelsX = printer_.logicalDpiX();
        c.logPixelsY = printer_.logicalDpiY();
        const QRectF paper = printer_.paperRect(QPrinter::DevicePixel);
        const QRectF page = printer_.pageRect(QPrinter::DevicePixel);
        c.physicalOffsetX = qRound(page.left() - paper.left());
        c.physicalOffsetY = qRound(page.top() - paper.top());
        return c;
    }
    int orientation() const override
    {
        return printer_.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    }
    void setOrientation(int orientation) override
    {
        printer_.setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
    int paperBin() const override { return bin_; }
    void setPaperBin(int bin) override
    {
        bool known = false;
        const QPrinter::PaperSource source = paperSourceOf(bin, &known);
        if (known)
            printer_.setPaperSource(source);
        bin_ = bin;
    }
    int copies() const override { return printer_.copyCount(); }
    void setCopies(int copies) override { printer_.setCopyCount(copies); }
    QPaintDevice *beginDocument(const QString &title) override
    {
        printer_.setDocName(title);
        return &printer_;
    }
    void endDocument() override
    {
        if (printer_.printerState() == QPrinter::Error)
            throw printerError();
    }
    void abortDocument() override { printer_.abort(); }

private:
    QPrinter printer_;
    int bin_ = 0;
};

class PlatformPrinters : public PrinterSystem {
public:
    QStringList printerNames() override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinterName() override { return QPrinterInfo::defaultPrinterName(); }
    std::unique_ptr<PrintDevice> openPrinter(const QString &name) override
    {
        return std::make_unique<QtPrinterDevice>(QPrinterInfo::printerInfo(name));
    }
};

// The paper of the report being printed: its catalogue size, in the orientation last set
// (else the catalogue's), without margins.
QPageLayout reportPaper(int orientation)
{
    double width = 11906;
    double height = 16838;
    int catalogueOrientation = 1;
    const RepCatalogue rep = ReadRepCatalogue(gRepId);
    if (rep.found) {
        width = NullToVal(rep.WIDTH, Value(0)).toDouble();
        height = NullToVal(rep.HEIGHT, Value(0)).toDouble();
        catalogueOrientation = static_cast<int>(NullToVal(rep.ORIENTATION, Value(0)).toLong());
    }
    if (width <= 0 || height <= 0)
        return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    // Twips are twentieths of a point.
    const QPageSize size(QSizeF(std::min(width, height) / 20.0, std::max(width, height) / 20.0), QPageSize::Point,
                         QString(), QPageSize::ExactMatch);
    const int o = orientation == 1 || orientation == 2 ? orientation : catalogueOrientation;
    return QPageLayout(size, o == 2 ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

// The printer where none is installed: a PDF file per document.
class PdfDevice : public PrintDevice {
public:
    explicit PdfDevice(QStringList &written) : written_(written) {}
    QString deviceName() const override { return QString(); }
    DeviceCaps caps() override
    {
        return DeviceCaps{true, static_cast<int>(kTwipsPerInch), static_cast<int>(kTwipsPerInch), 0, 0};
    }
    int orientation() const override { return orientation_; }
    void setOrientation(int orientation) override { orientation_ = orientation; }
    int paperBin() const override { return bin_; }
    void setPaperBin(int bin) override { bin_ = bin; }
    int copies() const override { return copies_; }
    void setCopies(int copies) override { copies_ = copies; }

    QPaintDevice *beginDocument(const QString &title) override
    {
        abortDocument();
        const QString folder = pdfFolder();
        path_ = folder + QLatin1Char('/') + title + QStringLiteral(".pdf");
        if (!QDir().mkpath(folder))
            throw pdfWriteError(folder);
        file_ = std::make_unique<QSaveFile>(path_);
        if (!file_->open(QIODevice::WriteOnly))
            throw pdfWriteError(path_);
        writer_ = std::make_unique<QPdfWriter>(file_.get());
        writer_->setResolution(static_cast<int>(kTwipsPerInch));
        writer_->setTitle(title);
        writer_->setCreator(kProgramTitle);
        writer_->setPageLayout(reportPaper(orientation_));
        return writer_.get();
    }
    void endDocument() override
    {
        writer_.reset();
        const bool written = file_ && file_->commit();
        file_.reset();
        if (!written)
            throw pdfWriteError(path_);
        written_ << path_;
    }
    void abortDocument() override
    {
        writer_.reset();
        if (file_)
            file_->cancelWriting();
        file_.reset();
    }

private:
    QStringList &written_;
    int orientation_ = 0;
    int bin_ = 0;
    int copies_ = 1;
    QString path_;
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<QPdfWriter> writer_;
};

std::unique_ptr<PrinterSystem> &installedSystem()
{
    static std::unique_ptr<PrinterSystem> system;
    return system;
}

QString &appTitle()
{
    static QString title = kProgramTitle;
    return title;
}

}  // namespace

std::unique_ptr<PrinterSystem> platformPrinters()
{
    return std::make_unique<PlatformPrinters>();
}

PrinterSystem &printers()
{
    std::unique_ptr<PrinterSystem> &system = installedSystem();
    if (!system)
        system = platformPrinters();
    return *system;
}

void setPrinterSystem(std::unique_ptr<PrinterSystem> system)
{
    printer().reset();
    installedSystem() = std::move(system);
}

PrintDevice &Printer::device()
{
    if (!device_) {
        const QStringList names = printers().printerNames();
        if (names.isEmpty()) {
            device_ = std::make_unique<PdfDevice>(written_);
        } else {
            QString name = printers().defaultPrinterName();
            if (name.isEmpty() || !names.contains(name))
                name = names.first();
            device_ = printers().openPrinter(name);
        }
        device_->setCopies(copies_);
    }
    return *device_;
}

void Printer::select(const QString &name)
{
    device_ = printers().openPrinter(name);
    device_->setCopies(copies_);
}

int Printer::copies()
{
    return device().copies();
}

void Printer::setCopies(int copies)
{
    copies_ = copies;
    device().setCopies(copies);
}

QStringList Printer::takeWrittenPdfFiles()
{
    QStringList files;
    files.swap(written_);
    return files;
}

void Printer::reset()
{
    device_.reset();
    copies_ = 1;
    written_.clear();
}

Printer &printer()
{
    static Printer object;
    return object;
}

QString pdfFolder()
{
    return QDir::cleanPath(appPath() + QStringLiteral("/../pdf"));
}

void PrinterCanvas::EndDoc()
{
    model().clear();
    if (pending_.empty())
        return;
    std::vector<RenderItem> items;
    items.swap(pending_);
    PrintDevice &device = printer_.device();
    QPaintDevice *target = device.beginDocument(AppTitle());
    QPainter p;
    if (!target || !p.begin(target)) {
        device.abortDocument();
        throw printerError();
    }
    // Pictures go out as they are: a compressed symbol may no longer read.
    p.setRenderHint(QPainter::LosslessImageRendering);
    p.scale(target->logicalDpiX() / kTwipsPerInch, target->logicalDpiY() / kTwipsPerInch);
    for (const RenderItem &item : items)
        paintItem(p, item);
    p.end();
    device.endDocument();
}

QString AppTitle()
{
    return appTitle();
}

void setAppTitle(const QString &title)
{
    appTitle() = title;
}

}  // namespace hb
