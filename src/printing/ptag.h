#pragma once
// Price-tag data: one row per shipment, built for the price-tag sheet and the price-tag export,
// with the EAN-13 code composed from the shop's bar-code layout and the trace-page address.

#include "core/value.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

namespace hb {

class Recordset;

// The zero date-time (day zero, midnight) that empty date fields hold.
QDateTime zeroDateTime();

// The content of one label.
struct PtagLabelRec {
    QString JAN_CD;           // 13 digits
    QString QR_TEXT;          // trace address, "" when the shop has no web address
    QString FMR_NM;
    QString TEL_NO_S;
    QString PRD_NM;
    Currency SHOP_PRC;
    QString RSV_STR1;
    QString RSV_STR2;
    Currency RSV_CUR;
    std::int16_t RSV_INT1 = 0;
    QString RSV_STR3;
    std::int16_t RSV_INT2 = 0;
    QDateTime RSV_DATE = zeroDateTime();
    QString RSV_STR4;
    QString LOCATE;           // place of production
    bool PLAS = false;        // plastic-packaging mark

    bool operator==(const PtagLabelRec &) const = default;
};

// One price-tag row, made from one shipment row.
struct PtagRec {
    static constexpr std::int16_t kShipmentKind = 10;

    bool RSV_FLG = false;
    std::int16_t KIND = 0;    // 10 for a row made from a shipment, 0 for the empty row
    std::int32_t RSV_NO = 0;
    std::int32_t FMR_ID = 0;
    std::int32_t PRD_ID = 0;
    QString PRD_NM;
    std::int16_t RSV_INT = 0;
    std::int32_t LABEL_CNT = 0;  // labels to print of this row
    PtagLabelRec LABEL;

    bool operator==(const PtagRec &) const = default;
};

// The price-tag data of one print or export. PTAG is never empty: with no rows it holds one
// empty row (KIND 0, JAN_CD "").
struct PtagDataRec {
    std::int16_t SKIP_CNT = 0;  // label positions left empty before the first label
    std::vector<PtagRec> PTAG = std::vector<PtagRec>(1);
};

// The price-tag data of the last build; while in use it has exactly one element, index 0,
// which the print dialog and the export give it before they call SetPriceTagData. Before the
// first build it holds element 0 with no rows to print (skip 0, one empty row).
extern std::vector<PtagDataRec> gPtagData;

// Turns every shipment row of the recordset (D_SHIP.*), from its current row to its end, into
// one row of gPtagData[0].PTAG, which it resets first, and returns the number of rows. The
// recordset is left at its end, open. Errors pass to the caller; rows already made stay.
int SetPriceTagData(Recordset &rs);

// The 13-digit code of a price tag, composed from the bar-code layout of the shop in use:
// option, product, price, price in tens and grower blocks, each written at its start position
// for its length; a later block overwrites an earlier one. A block with a length above 0 that
// starts outside positions 1 to 12 raises "販売店のバーコード設定が範囲外です。" (9) before any digit is
// placed.
QString GetBarcode(std::int32_t prdId, std::int32_t fmrId, const Currency &price, std::int32_t option);

// The code followed by its EAN-13 check digit; "" when the code is not 12 characters long.
// A character that is no digit raises a type mismatch (13).
QString GetCheckDigit(const QString &code);

// The address of the trace page of a grower's planting, from the web settings of the shop in
// use ("cropsight.php?fmr=F?plant=P" for script uploads, "cropsight/F/P/" otherwise).
QString GetTraceURL(std::int32_t fmrId, std::int32_t plantId);

// What GetTraceURL returns when the shop in use has no M_SHOP row.
inline const QString kDefaultTraceURL = QStringLiteral("http://localhost/");

}  // namespace hb
