#pragma once
// The product master dialog: the whole of M_PRD held in memory, listed by name through a filter,
// the current product shown in the boxes, and Register replacing the table in one transaction.

#include "core/formbase.h"
#include "core/loadedrows.h"
#include "masters/products.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <array>
#include <vector>

namespace hb {

class fdlMstPrdEdit : public Form {
public:
    fdlMstPrdEdit();

    // current index 0; the product array reset to the placeholder; the shop list filled.
    void InitFrm();
    // Fills the product array from M_PRD; the number of rows read.
    long LoadData();
    void SetCmb(int k);
    // Fills the list through the filter and selects the current product.
    void SetList();
    // Makes current the product with that ID (-1 when none has it).
    void GetIdx(long id);
    long GetMaxPrdId() const;
    // Shows the current product in the boxes.
    void DispData();
    // Replaces M_PRD with the products whose ID is above 0; the number of rows written.
    long SaveData();

    const std::vector<PrdRec> &products() const { return prd_; }
    int currentIndex() const { return cur_; }

    // The slots of the control arrays.
    enum Box : int { kBoxPrdId = 0, kBoxPrdNm = 1, kBoxPrdOmt = 2, kBoxPrdYm = 3, kBoxCount = 4 };
    enum Sub : int { kSubRemove = 0, kSubAdd = 1, kSubCount = 2 };
    enum Menu : int { kMenuClose = 0, kMenuRegister = 1, kMenuCount = 2 };

    QLineEdit *txtCOND = nullptr;
    QListWidget *List1 = nullptr;
    QComboBox *cmbDATA = nullptr;
    std::array<QLineEdit *, kBoxCount> txtDATA{};
    std::array<QPushButton *, kSubCount> cmdSUB{};
    std::array<QPushButton *, kMenuCount> cmdMENU{};
    QCheckBox *Check1 = nullptr;

protected:
    void onLoad() override;
    void onResize() override;
    bool validate(QWidget *control) override;
    EnterKey enterKey(QWidget *control) const override;
    Trap trapFor(Event event, QWidget *control) const override;

private:
    void listClicked(int row);
    void addProduct();
    void removeProduct();
    void Register();
    bool checkId(long *id);

    std::vector<PrdRec> prd_;
    LoadedRows loaded_;  // the products as loaded (or last saved)
    int cur_ = 0;
    bool filling_ = false;
};

}  // namespace hb
