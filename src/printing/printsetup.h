#pragma once
// Preparing the printer for a report: its stored printer, orientation and paper bin, and the
// physical offsets of the printable area.

#include "printing/printer.h"

namespace hb {

// Makes the installed printer whose device name equals the report's stored PRINTER_NM (letter
// case ignored; the first such in the platform's order) the current printer; an empty or
// unknown name leaves the current printer. Returns 0.
long SetRepPrinter(int repId);

// Applies the orientation of report gRepId's catalogue row (1 portrait, 2 landscape; any other
// value leaves it) and its stored paper bin (only above 0) to the current printer. Nothing that
// fails here stops the printing.
void SetPrinterPaper();

// The current printer's physical offsets in twips, whole millimetres rounded half to even;
// a printer without device context leaves both as they are.
void GetPrinterOffset(long &offX, long &offY);

// Prints pages of a report on the report's printer with its stored margins, a document per
// sheet. Returns the PDF files written (where no printer is installed).
QStringList PrintOnPrinter(int repId, int fromPage, int toPage);
// The notice that ends a print that wrote PDF files; nothing when it wrote none.
void NoticePdfFiles(const QStringList &files);

// Device pixels across (down) as whole millimetres, halves upward.
double PixelToMmX(const DeviceCaps &caps, long px);
double PixelToMmY(const DeviceCaps &caps, long px);

}  // namespace hb
