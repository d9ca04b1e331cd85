#pragma once
// The balance of one account over its vouchers, as the ledger and the diary's voucher books keep
// it: an opening balance from the sums of the account's debit and credit sides before the
// period, then each voucher with the account on either side raising or lowering it.

#include "core/value.h"

namespace hb {

// The side on which an account grows (L_ACC.DC_KBN).
enum DcKbn : long {
    kDcDebit = 1,   // assets and costs
    kDcCredit = 2,  // liabilities and income
};

class AccountBalance {
public:
    // creditNormal: the account grows on its credit side. The opening is the credits minus the
    // debits for such an account, the debits minus the credits otherwise.
    AccountBalance(bool creditNormal, Currency debits, Currency credits);

    struct Step {
        Currency increase;
        Currency decrease;
    };
    // One voucher of the account: a voucher with the account on its credit side raises a
    // credit-normal account and lowers a debit-normal one, and the other way round with the
    // account on the debit side only (with the account on both sides the credit side decides).
    Step post(bool creditSide, Currency amount);

    Currency opening() const { return opening_; }
    Currency balance() const { return balance_; }
    Currency increases() const { return increases_; }
    Currency decreases() const { return decreases_; }

private:
    bool creditNormal_;
    Currency opening_;
    Currency balance_;
    Currency increases_;
    Currency decreases_;
};

}  // namespace hb
