#include "bookkeeping/accountbalance.h"

namespace hb {

AccountBalance::AccountBalance(bool creditNormal, Currency debits, Currency credits)
    : creditNormal_(creditNormal),
      opening_(Currency::fromScaled(creditNormal ? credits.scaled - debits.scaled : debits.scaled - credits.scaled)),
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
    balance_.scaled += s.increase.scaled - s.decrease.scaled;
    increases_.scaled += s.increase.scaled;
    decreases_.scaled += s.decrease.scaled;
    return s;
}

}  // namespace hb
