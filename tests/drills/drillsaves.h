#pragma once
// The saves the drills run, by name: the child program (child/drillchild.cpp) knows how to set
// each one's fixture up and how to run it; the tests run every one of them.
//
// A save is added in two places: its name here and its entry in the child's table.

namespace drills {

inline constexpr const char *kSaves[] = {"diary", "shipment", "planting", "voucher", "product", "purchase"};

}  // namespace drills
