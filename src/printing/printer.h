#pragma once
// The printers: the platform's list of installed printers (which tests replace with fake
// ones), the program's one printer object that reports print on, and the PDF file that stands
// in for a printer where none is installed.

#include "printing/canvas.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QPaintDevice;

namespace hb {

// What the print set-up reads of a printer's device context.
struct DeviceCaps {
    bool hasDeviceContext = true;  // false: no device context, so no offsets can be measured
    int logPixelsX = 0;            // pixels per inch across and down
    int logPixelsY = 0;
    int physicalOffsetX = 0;       // device pixels from the paper's left and top edges to the printable area
    int physicalOffsetY = 0;
};

// One printer as the print path drives it.
class PrintDevice {
public:
    virtual ~PrintDevice() = default;
    virtual QString deviceName() const = 0;
    virtual DeviceCaps caps() = 0;
    virtual int orientation() const = 0;  // 1 portrait, 2 landscape
    virtual void setOrientation(int orientation) = 0;
    virtual int paperBin() const = 0;     // the platform's bin number; 0 when none was set
    virtual void setPaperBin(int bin) = 0;
    virtual int copies() const = 0;
    virtual void setCopies(int copies) = 0;
    // Starts a print document of that name and gives what to paint on, its origin the corner of
    // the printable area, its units device pixels.
    virtual QPaintDevice *beginDocument(const QString &title) = 0;
    // Sends the document, once its painter has ended; a failure is raised.
    virtual void endDocument() = 0;
    // Drops a document that could not be finished.
    virtual void abortDocument() = 0;
};

// The installed printers.
class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    // Device names in the platform's order.
    virtual QStringList printerNames() = 0;
    // The system's default printer; "" when there is none.
    virtual QString defaultPrinterName() = 0;
    virtual std::unique_ptr<PrintDevice> openPrinter(const QString &name) = 0;
};

// The printers of the platform's print service (CUPS).
std::unique_ptr<PrinterSystem> platformPrinters();

// The printers in use: the platform's unless replaced.
PrinterSystem &printers();
// Replaces the printers (null: the platform's again); the printer chosen so far is forgotten.
void setPrinterSystem(std::unique_ptr<PrinterSystem> system);

// The program's printer object. Until a report's printer is selected it is the system's
// default printer, else the first listed; with no printer listed every document becomes a PDF
// file, pdf/<document name>.pdf beside data/, replaced whole, on the paper of the report's
// catalogue row, whatever the copy count.
class Printer {
public:
    PrintDevice &device();
    // The listed printer of exactly this name becomes the current printer for the rest of the
    // run. The copy count stays with the printer object.
    void select(const QString &name);
    int copies();
    void setCopies(int copies);
    // The PDF files written since the last call, in order; the list is then empty.
    QStringList takeWrittenPdfFiles();
    // Forgets the printer chosen (the list of printers changed).
    void reset();

private:
    std::unique_ptr<PrintDevice> device_;
    int copies_ = 1;
    QStringList written_;
};

Printer &printer();

// The folder of the PDF files: pdf/ beside data/.
QString pdfFolder();

// The printer as a canvas. What is drawn is kept for the document until EndDoc, which begins a
// document on the current printer, titled with the application title, paints it and sends it:
// a sheet that drew nothing gives no document, and one whose drawing failed half-way is never
// sent. Its render model holds the sheet being drawn: EndDoc empties it, so a print of many
// sheets keeps the pictures of one sheet at a time.
class PrinterCanvas : public Canvas {
public:
    explicit PrinterCanvas(Printer &target = printer()) : printer_(target) {}
    QString TypeName() const override { return QStringLiteral("Printer"); }
    void EndDoc() override;

protected:
    void draw(const RenderItem &item) override { pending_.push_back(item); }

private:
    Printer &printer_;
    std::vector<RenderItem> pending_;
};

// The application title: the program's title, or the sheet being drawn ("農産物値札 2ﾍﾟｰｼﾞ").
QString AppTitle();
void setAppTitle(const QString &title);

}  // namespace hb
