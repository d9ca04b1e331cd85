#include "printing/printsetup.h"

#include "core/globals.h"
#include "core/helpers.h"
#include "core/log.h"
#include "printing/ptagsheet.h"
#include "printing/repsettings.h"

#include <QDir>

#include <cmath>
#include <exception>

namespace hb {

namespace {

double pixelsToMm(long px, int pixelsPerInch)
{
    if (pixelsPerInch == 0)
        throw HbError(kErrDivisionByZero, QStringLiteral("0 で除算しました。"));
    return std::floor(px * 25.4 / pixelsPerInch + 0.5);
}

long mmToTwips(double mm)
{
    return static_cast<long>(roundHalfEven(mm * 567.0 / 10.0));
}

// A step of the paper set-up: a failure only skips the step.
template <class F>
void ignoringFailure(F step)
{
    try {
        step();
    } catch (const std::exception &) {
    }
}

}  // namespace

long SetRepPrinter(int repId)
{
    WriteLog(QStringLiteral("プリンタを規定に設定"));
    const QString name = NullToVal(RepSettingValue(QStringLiteral("PRINTER_NM"), repId), Value(QString())).toString();
    if (name.isEmpty())
        return 0;
    for (const QString &installed : printers().printerNames()) {
        if (installed.compare(name, Qt::CaseInsensitive) == 0) {
            printer().select(installed);
            break;
        }
    }
    return 0;
}

void SetPrinterPaper()
{
    ignoringFailure([] {
        const long o = static_cast<long>(
            NullToVal(RepCatalogueValue(QStringLiteral("ORIENTATION"), gRepId), Value(0)).toLong());
        if (o == 1 || o == 2)
            printer().device().setOrientation(static_cast<int>(o));
    });
    ignoringFailure([] {
        const long b =
            static_cast<long>(NullToVal(RepSettingValue(QStringLiteral("PAPER_BIN"), gRepId), Value(0)).toLong());
        if (b > 0)
            printer().device().setPaperBin(static_cast<int>(b));
    });
}

void GetPrinterOffset(long &offX, long &offY)
{
    const DeviceCaps caps = printer().device().caps();
    if (!caps.hasDeviceContext)
        return;
    const double mmX = PixelToMmX(caps, caps.physicalOffsetX);
    const double mmY = PixelToMmY(caps, caps.physicalOffsetY);
    offX = mmToTwips(mmX);
    offY = mmToTwips(mmY);
}

QStringList PrintOnPrinter(int repId, int fromPage, int toPage)
{
    const RepMargins margins = ReadRepMargins(repId);
    SetRepPrinter(repId);
    printer().takeWrittenPdfFiles();
    PrinterCanvas canvas;
    PrintReport(repId, canvas, margins.left, margins.top, fromPage, toPage);
    return printer().takeWrittenPdfFiles();
}

void NoticePdfFiles(const QStringList &files)
{
    if (files.isEmpty())
        return;
    ShowMsg(QStringLiteral("PDFファイルに出力しました。\n") + QDir::toNativeSeparators(pdfFolder()), kMsgOk);
}

double PixelToMmX(const DeviceCaps &caps, long px)
{
    return pixelsToMm(px, caps.logPixelsX);
}

double PixelToMmY(const DeviceCaps &caps, long px)
{
    return pixelsToMm(px, caps.logPixelsY);
}

}  // namespace hb
