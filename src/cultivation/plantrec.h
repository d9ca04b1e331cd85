#pragma once
// The planting record (one row of D_PLANT), the shared array of the planting list, and the
// checks and writes of the planting input. Plantings are numbered per grower: the key is
// FMR_ID + PLANT_ID, and every look-up by PLANT_ID also matches FMR_ID.

#include "core/loadedrows.h"
#include "core/rowrecord.h"
#include "core/value.h"

#include <QString>
#include <optional>
#include <vector>

namespace hb {

class DbObject;

// One row of D_PLANT, field by field in column order. A fresh record holds Empty everywhere.
struct PlantRec : RowRecord<PlantRec> {
    Value PLANT_ID;
    Value PLANT_NM;
    Value YYYY;
    Value FMR_ID;
    Value HARVEST_SCHD_YM;
    Value CROP_NM;
    Value CROP_NM1;
    Value CROP_NM2;
    Value PRD_ID;
    Value PRD_NM;
    Value PLANT_TYPE;
    Value FIELD_NM;
    Value AREA;
    Value CROP_EST;
    Value CROP_EST_UNIT;
    Value PLANT_DATE;
    Value START_DATE;
    Value END_DATE;
    Value SHIP_EST;
    Value SHIP_EST_UNIT;
    Value SHIP_SCHD_DATE1;
    Value SHIP_SCHD_DATE2;
    Value IMG_PATH1;
    Value IMG_PATH2;
    Value NOTES1;
    Value NOTES2;
    Value IDATE;
    Value UDATE;
    Value LAST_TM;
    Value HOLD_TM;

    static const std::vector<Column> &columns();
};

// The plantings the planting list shows, element i = list row i. Never empty: before the first
// query that finds rows it holds one all-Empty element; a query without rows leaves it as it was.
extern std::vector<PlantRec> gPlant;

// The grower of the planting saved last (gLastPlantID is its number): the list reselects the
// row of that grower and number only.
extern Value gLastPlantFmrID;

// The filters of the planting list: harvest year (none: every year), crop name ("" none),
// planting category (0 none).
struct PlantFilter {
    std::optional<long> year;
    QString crop;
    long plantType = 0;
};

// Reads the plantings the filter selects, ordered by year, crop and planting date, with every
// column but IMG_PATH1 and IMG_PATH2 (left Empty).
std::vector<PlantRec> queryPlants(const PlantFilter &filter);

// Why a planting may not be deleted: the earliest diary day ("m月d日に作業登録されています…")
// or else the earliest shipment day of the grower's lines that name it; "" when none does.
QString plantDeleteRefusal(const Value &fmrId, const Value &plantId);

// A date column as the list and the input window show it: "yyyy/mm/dd"; "" for no date.
QString plantDateText(const Value &v);

// The grower's planting of that number; none when there is no such row.
std::optional<PlantRec> FindPlanting(DbObject &db, const Value &fmrId, const Value &plantId);

// The look-ups of the planting input: a crop's category code (L_CROP.CROP_KBN; Empty when the
// crop is not listed) and item name (CROP_NM2; Null when not listed), and a product's name
// ("" when there is no such product).
Value CropKind(DbObject &work, const QString &crop);
Value CropItemName(DbObject &work, const QString &crop);
Value ProductName(DbObject &master, const Value &prdId);

enum class PlantSaveResult { Saved, Missing };

// Writes the record: mode 1 inserts it under the grower's next number (taken inside the save's
// transaction; a number taken meanwhile elsewhere fails on the key), 2 updates the row of its
// grower and number, 4 deletes that row. Modes 1 and 2 write LAST_TM, clear HOLD_TM and
// IMG_PATH1/2; an insert sets IDATE (UDATE Null), an update UDATE (IDATE kept). One transaction:
// on any failure nothing is written and the error is raised. On success rec holds what was
// written (its new number, the audit columns). Missing: modes 2 and 4 found no row; nothing done.
// Modes 2 and 4 first compare what is stored with `loaded` (LoadedPlant, as the window loaded it)
// and raise ChangedElsewhere, writing nothing, when another computer changed it.
PlantSaveResult savePlant(DbObject &db, int mode, PlantRec &rec, const std::vector<LoadedRows> &loaded = {});

// What a save of the planting overwrites: its row, as the list read it.
std::vector<LoadedRows> LoadedPlant(const PlantRec &row);

}  // namespace hb
