#include "bookkeeping/accountbalance.h"

namespace hb {

AccountBalance::AccountBalance(bool creditNormal, Currency debits, Currency credits)
    : creditNormal_(creditNormal),
      opening_(creditNormal ? credits - debits : debits - credits),
      balance_(opening_)
{
}

AccountBalance::Step AccountBalance::post(bool creditSide, Currency amount)
{
    Step s;
    if (creditSide == creditNormal_)
        s.increase = amount;
    else
        s.decrease = amount;
    balance_ += s.increase - s.decrease;
    increases_ += s.increase;
    decreases_ += s.decrease;
    return s;
}

}  // namespace hb
