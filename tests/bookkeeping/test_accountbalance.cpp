// The balance of an account as the ledger and the diary's voucher books keep it: the opening by
// the account's growing side and the running balance voucher by voucher. The figures are those
// the two books showed for the same vouchers.

#include "bookkeeping/accountbalance.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

hb::Currency yen(double v)
{
    return hb::Currency::fromDouble(v);
}

struct Post {
    bool creditSide;
    double amount;
    double increase;
    double decrease;
    double balance;
};

struct Case {
    const char *name;
    bool creditNormal;
    double debits;
    double credits;
    double opening;
    std::vector<Post> posts;
    double increases;
    double decreases;
};

TEST(AccountBalance, OpeningAndRunningBalanceByTheAccountsGrowingSide)
{
    const Case cases[] = {
        {"cash (grows on the debit side)", false, 5311, 1211.5, 4099.5,
         {
             {false, 1000, 1000, 0, 5099.5},    // debited
             {true, 300, 0, 300, 4799.5},       // credited
             {true, 50, 0, 50, 4749.5},         // on both sides: the credit side decides
             {false, -200, -200, 0, 4549.5},    // a negative amount lowers what it would raise
             {true, 40, 0, 40, 4509.5},
         },
         800, 390},
        {"payable (grows on the credit side)", true, 1277.5, 377, -900.5,
         {
             {false, 12.3456, 0, 12.3456, -912.8456},  // four decimals kept
             {true, 0, 0, 0, -912.8456},               // a voucher without amount adds nothing
             {true, 999.9999, 999.9999, 0, 87.1543},
             {false, 40, 0, 40, 47.1543},
         },
         999.9999, 52.3456},
        {"nothing before the period", true, 0, 0, 0, {{true, 7, 7, 0, 7}}, 7, 0},
    };
    for (const Case &c : cases) {
        hb::AccountBalance b(c.creditNormal, yen(c.debits), yen(c.credits));
        EXPECT_EQ(b.opening(), yen(c.opening)) << c.name;
        EXPECT_EQ(b.balance(), yen(c.opening)) << c.name;
        int i = 0;
        for (const Post &p : c.posts) {
            const hb::AccountBalance::Step s = b.post(p.creditSide, yen(p.amount));
            EXPECT_EQ(s.increase, yen(p.increase)) << c.name << " voucher " << i;
            EXPECT_EQ(s.decrease, yen(p.decrease)) << c.name << " voucher " << i;
            EXPECT_EQ(b.balance(), yen(p.balance)) << c.name << " voucher " << i;
            ++i;
        }
        EXPECT_EQ(b.increases(), yen(c.increases)) << c.name;
        EXPECT_EQ(b.decreases(), yen(c.decreases)) << c.name;
        EXPECT_EQ(b.opening(), yen(c.opening)) << c.name << ": the opening stays";
    }
}

}  // namespace
