#pragma once
// The price-tag CSV file: one line of 24 items per price-tag row, written in code page 932.

#include "printing/ptag.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <vector>

namespace hb {

class DbObject;

// The last shipment day of the grower at the shop (Null when there is none).
Value LastShipDay(DbObject &db, long fmrId, long shopId);

// The price-tag data of the grower's shipments at the shop from one day to another (both
// included) in gPtagData (reset only when there is any); the number of rows.
int LoadPriceTagData(DbObject &db, const QDate &from, const QDate &to, long fmrId, long shopId);

// One line of the file, without its line end: the row's 24 items separated by ",". Texts stand
// between double quotes (a quote inside a text is doubled), Booleans are #TRUE# / #FALSE#,
// numbers plain decimal, the date between "#" as "yyyy-mm-dd hh:nn:ss".
QString PtagCsvLine(const PtagRec &row);

// The text in code page 932; a character that has no code there is written "?".
QByteArray toCp932(const QString &text);

// "yymmdd-yymmdd-grower-shop.csv".
QString PtagCsvFileName(const QDate &from, const QDate &to, long fmrId, long shopId);

// The folder with "/" appended when it does not end in one, followed by the file name.
QString PtagCsvPath(const QString &folder, const QString &fileName);

// Replaces the file at the path by the rows' lines, each ended by CR LF; returns the number of
// lines. The file is complete or, when writing fails, left as it was; the failure raises a
// file error (75). An existing file that is read-only (by its permission bits, whoever runs the
// program) is refused and kept.
int WritePtagCsv(const QString &path, const std::vector<PtagRec> &rows);

}  // namespace hb
