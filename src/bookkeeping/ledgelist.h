#pragma once
// What the voucher list and the ledger read: the grower's vouchers by account, counterparty and
// period, the ledger's opening balance, the account names and the totals. Each raises on a
// database error.

#include "bookkeeping/accountbalance.h"
#include "bookkeeping/ledger.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace hb {

class DbObject;

struct LedgeFilter {
    long fmrId = 0;
    long accId = 0;            // 0: every account
    QString counterparty;      // "" for any; matches anywhere ("%" and "_" stay wildcards)
    std::optional<QDate> from;
    std::optional<QDate> to;
    std::optional<QDate> yearStart;  // 1 January of the year box, when it holds a year
};

// The ledger's opening balance of filter.accId from the grower's vouchers (of the counterparty)
// before the list's first day: the later of the from-date and 1 January of the year; only those
// from 1 January on for an account not carried over the years (L_ACC.PG_KBN other than 1), so
// that no voucher is in neither. The account's DC_KBN and PG_KBN must be set (94 otherwise).
AccountBalance LedgerOpening(DbObject &data, DbObject &work, const LedgeFilter &filter);

// The vouchers the filter selects, by date and number, into rows (never empty); true when any.
bool LoadLedges(DbObject &data, const LedgeFilter &filter, std::vector<LedgeRec> &rows);

// Every account's name by its ID ("" for a Null name).
QHash<long, QString> AccountNames(DbObject &work);

// The number of the vouchers the filter selects and the sum of their amounts (Null when none
// has one).
struct LedgeTotals {
    long count = 0;
    Value sum;
};
std::optional<LedgeTotals> LedgeListTotals(DbObject &data, const LedgeFilter &filter);

}  // namespace hb
