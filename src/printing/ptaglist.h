#pragma once
// The price-tag rows of one shipment day, as the price-tag print dialog lists and prints them.

#include "printing/ptag.h"

#include <QDate>
#include <QString>
#include <cstdint>

namespace hb {

// The skip box's count of label positions left empty: the number the text begins with, halves
// to even; a text without a number and a negative number count 0. A number beyond a 16-bit
// count raises an overflow (6).
std::int16_t PtagSkipCount(const QString &text);

// Rebuilds gPtagData with the skip and one row per shipment of the day, of every grower, ordered
// by shipment ID, product name and price from high to low. A failure leaves gPtagData with no
// rows to print (as before any build) and is raised.
void BuildDayPtagData(const QDate &day, std::int16_t skip);

// The label positions a print of the data takes, the skip included, and the sheets of 24 they
// fill. A row counts only the labels it prints: a count below 0 adds nothing.
struct PtagCounts {
    std::int64_t labels = 0;
    std::int64_t sheets = 0;
};
PtagCounts CountPtagLabels(const PtagDataRec &data);

}  // namespace hb
