#pragma once
// The print settings of each report (S_REP, settings database: margins in twips, printer, paper
// bin) and the report catalogue (L_REP, work database: name, paper size in twips, orientation).

#include "core/value.h"

#include <QString>
#include <optional>

namespace hb {

// The catalogue row of a report; found is false when there is none.
struct RepCatalogue {
    bool found = false;
    Value REP_NM;
    Value HEIGHT;
    Value WIDTH;
    Value ORIENTATION;
};
RepCatalogue ReadRepCatalogue(int repId);

// One column of the report's catalogue row (work database) or of its settings row (settings
// database); Null when there is no row.
Value RepCatalogueValue(const QString &column, int repId);
Value RepSettingValue(const QString &column, int repId);

// The report's margins in twips, Null and no row read as 0, as single-precision numbers.
struct RepMargins {
    float left = 0;
    float top = 0;
};
RepMargins ReadRepMargins(int repId);

// The settings row as the margin dialog edits it.
struct RepSettings {
    bool found = false;
    Value LEFT_MGN;
    Value TOP_MGN;
    Value PRINTER_NM;
    Value PAPER_BIN;
};
RepSettings ReadRepSettings(int repId);

// Writes the report's settings row in one transaction of the settings database, inserting it
// (with REP_ID) the first time. Margins in twips. Without a paper bin, the stored bin stays (0
// for a new row). A failure rolls back and is raised; the row is then as it was.
void SaveRepSettings(int repId, double leftMargin, double topMargin, const QString &printerName,
                     std::optional<long> paperBin);

}  // namespace hb
