#include "printing/ptaglist.h"

#include "core/db.h"
#include "core/helpers.h"
#include "printing/ptagsheet.h"

#include <algorithm>
#include <cstdint>

namespace hb {

std::int16_t PtagSkipCount(const QString &text)
{
    const std::int64_t n = roundHalfEven(Val(text));
    if (n > INT16_MAX || n < INT16_MIN)
        throw HbError(kErrOverflow, QStringLiteral("オーバーフローしました。"));
    return static_cast<std::int16_t>(std::max<std::int64_t>(0, n));
}

void BuildDayPtagData(const QDate &day, std::int16_t skip)
{
    try {
        auto rs = dataDb().GetFwdOnlyRst(QStringLiteral("SELECT  D_SHIP.*  FROM D_SHIP  WHERE  D_SHIP.SHIP_DATE=?"
                                                    " ORDER BY D_SHIP.SHIP_ID, D_SHIP.PRD_NM, D_SHIP.SHOP_PRC DESC"),
                                     {Value(day)});
        gPtagData.assign(1, PtagDataRec());
        gPtagData[0].SKIP_CNT = skip;
        SetPriceTagData(*rs);
        rs->Close();
    } catch (...) {
        gPtagData.assign(1, PtagDataRec());
        throw;
    }
}

PtagCounts CountPtagLabels(const PtagDataRec &data)
{
    PtagCounts c;
    c.labels = std::max<std::int64_t>(0, data.SKIP_CNT);
    for (const PtagRec &row : data.PTAG) {
        if (row.LABEL_CNT > 0)
            c.labels += row.LABEL_CNT;
    }
    c.sheets = (c.labels + kTagsPerSheet - 1) / kTagsPerSheet;
    return c;
}

}  // namespace hb
