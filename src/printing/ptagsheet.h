#pragma once
// Report 10, the price-tag sheet: 24 tags of 66.0 x 33.9 mm to a sheet, 3 columns by 8 rows
// filled column by column, drawn from gPtagData on a canvas in twips.

#include "printing/canvas.h"
#include "printing/ptag.h"

#include <vector>

namespace hb {

inline constexpr int kPtagReport = 10;
inline constexpr int kTagsPerSheet = 24;
inline constexpr double kTagPitchX = 3742.2;   // 66.0 mm
inline constexpr double kTagPitchY = 1922.13;  // 33.9 mm

// One entry per label position of the whole print, in print order: the skipped positions
// first (blank), then one copy of a row's label per label to print. MakePtagList rebuilds it
// before every sheet.
extern std::vector<PtagLabelRec> gPtagLabel;

// The report dispatcher: report 10 draws its pages fromPage to toPage with the sheet's
// top-left corner at (x, y); any other report draws nothing.
void PrintReport(int repId, Canvas &canvas, float x, float y, int fromPage, int toPage);
void PrintPtagPages(Canvas &canvas, float x, float y, int fromPage, int toPage);
// Draws sheet `page` (from 1); on the printer less the printer's offsets, after the report's
// paper set-up, and ends the printer's document. While it draws, the application title names
// the sheet ("農産物値札 2ﾍﾟｰｼﾞ"); it is the program's title again afterwards, however it ends.
void PrintPtagPage(Canvas &canvas, float x, float y, int page);
void MakePtagList();
// Draws one tag with its top-left corner at (x, y); a label without bar-code text draws nothing.
void DrawPtag(Canvas &canvas, float x, float y, const PtagLabelRec &label);

// The price as the tag prints it: "￥#,##0" in full-width characters (1200 -> "￥１，２００").
QString PtagPriceText(const Currency &price);

}  // namespace hb
