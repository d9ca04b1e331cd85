#pragma once
// The list and input window pairs (plantings, pesticide purchases, shipments, vouchers): a list
// window queries rows into its shared row array and shows them in ListView1; its buttons set
// gEditMode (1 add or copy, 2 modify, 3 view, 4 delete) and gEditRow (the row's index in the
// array, -1 for none) and show the input window modally with the list as owner. After a save the
// input window refreshes its list, redraws the month calendar and closes.
//
// A list window:
//
//   class frmPlantList : public hb::ListForm {
//   public:
//       frmPlantList() : ListForm("frmPlantList") {
//           setDesignSize(12400, 9200);
//           ...filters...; makeListView(0, 1500, 12240, 5900);
//           makeMenuButtons({QRect(150, 7575, 1600, 1000), ...});   // twips, index order 0..6
//       }
//       void InitForm() override;     // filters to their defaults, columns (setColumns)
//       void refresh() override;      // SetList: query, fill gPlant and the list (addRow)
//   protected:
//       hb::Form &inputWindow() override { return hb::form<frmPlantInput>(); }
//   };
//
// The window initialises once per showing, in its first Resize (InitForm, then refresh); a
// later resize only rescales, the columns included, and keeps filters, rows and selection.
// Buttons: 0 "閉じる" closes; 1 "追加" opens the input for a new row; 2 "修正", 3 "参照",
// 4 "削除", 5 "複写" (mode 1 with the row) do nothing on an empty list (or, with
// RowRule::SelectedItem, without a selected row); a non-empty list without a selected row acts on
// its first row. 6 "印刷" is disabled. mayOpen() may refuse a row (the voucher origin rule).
//
// An input window over rows of type Rec:
//
//   class frmPlantInput : public hb::InputForm<PlantRec> {
//   public:
//       frmPlantInput() : InputForm("frmPlantInput", gPlant, "D_PLANT") {
//           ...controls...; makeMenuButton(1, "登録", ...); makeMenuButton(2, "完了", ...);
//           makeMenuButton(0, "終了", ...);
//       }
//       void InitForm() override; void DispData() override;
//       bool ChkData() override;   bool SaveData() override;  // SaveData: true only when written
//   protected:
//       void newRowDefaults(PlantRec &r) override { r.FMR_ID = hb::gFmrID; }
//   };
//
// The input window initialises once per showing, in its first Resize: InitForm, then SetMode
// (working record anew, a copy of row gEditRow, the new-row defaults in mode 1, the captions of
// the mode, the read-only look in modes 3 and 4, DispData). A later resize only rescales; input
// is kept. Button 1 ("登録"/"削除") runs ChkData, SaveData, then the list's refresh, the
// calendar's redraw and closes; a refused check or a failed save keeps the window open with its
// input. A row found gone at save time writes nothing; SaveData calls rowGone() (message, list
// and calendar, close) and returns false. Unload releases this computer's holds on the
// window's table.

#include "core/formbase.h"
#include "core/globals.h"
#include "core/listview.h"
#include "core/loadedrows.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <exception>
#include <vector>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace hb {

// ---- list window -------------------------------------------------------------------------------

class ListForm : public Form {
public:
    enum class RowRule {
        NonEmptyList,  // buttons 2-5 need a list with at least one row
        SelectedItem,  // buttons 2-5 need a selected row
    };

    explicit ListForm(const QString &name);

    // Filters to their defaults and the columns (first Resize).
    virtual void InitForm() = 0;
    // The list's query: fills the row array and ListView1 (SetList; SetList1 and SetList2 of
    // the shipment list). The input window calls it after a save.
    virtual void refresh() = 0;

    // The slots of the button row.
    enum Menu : int {
        kMenuClose = 0,   // "閉じる"
        kMenuAdd = 1,     // "追加"
        kMenuModify = 2,  // "修正"
        kMenuView = 3,    // "参照"
        kMenuDelete = 4,  // "削除"
        kMenuCopy = 5,    // "複写"
        kMenuPrint = 6,   // "印刷", disabled
        kMenuCount = 7,
    };

    // The button row's action (cmdMENU_Click).
    virtual void cmdMENU_Click(int index);

    // The 0-based row of the selected item, -1 when none is selected.
    long selectedRow() const;
    // Selects the row (0-based); an index outside the list selects nothing.
    void selectRow(long row);
    long rowCount() const;

    // Replaces the columns; widths are the design widths times the window's horizontal factor.
    void setColumns(const std::vector<ListColumn> &columns);
    // Adds a row: the first text is the item's text, the others its cells, aligned by column.
    QTreeWidgetItem *addRow(const QStringList &cells);
    // Removes every row (columns stay).
    void clearRows();

    QTreeWidget *ListView1 = nullptr;
    std::array<QPushButton *, kMenuCount> cmdMENU{};

protected:
    // Creates ListView1 (report view, one row selected at a time) at its design geometry.
    void makeListView(int leftTwips, int topTwips, int widthTwips, int heightTwips);
    // Creates cmdMENU_0..6 with their captions at the design geometries (twips, by index);
    // "印刷" is disabled.
    void makeMenuButtons(const std::array<QRect, kMenuCount> &twips);
    void setRowRule(RowRule rule) { rowRule_ = rule; }

    // The input window the buttons open.
    virtual Form &inputWindow() = 0;
    // Whether the row may be opened in that mode (a refusal shows its own message).
    virtual bool mayOpen(int mode, long row) { return true; }

    // What a search that found nothing shows: no rows, and every total of the list as for none.
    // It never fails.
    virtual void emptyList() { clearRows(); }
    // A search: when it fails within the scope, the list shows what emptyList() shows before the
    // failure reaches the trap, so nothing it did not read this time is on show or opened.
    class Search {
    public:
        explicit Search(ListForm &list) : list_(list), raised_(std::uncaught_exceptions()) {}
        ~Search()
        {
            if (std::uncaught_exceptions() > raised_)
                list_.emptyList();
        }
        Search(const Search &) = delete;
        Search &operator=(const Search &) = delete;

    private:
        ListForm &list_;
        int raised_;
    };

    void onResize() override;

private:
    void openInput(int mode, long row);

    RowRule rowRule_ = RowRule::NonEmptyList;
    std::vector<ListColumn> columns_;
};

// ---- input window ------------------------------------------------------------------------------

class InputFormBase : public Form {
public:
    // table: the table whose holds Unload releases ("D_PLANT").
    InputFormBase(const QString &name, const QString &table);

    // Fills the window's pick lists (first Resize, before SetMode).
    virtual void InitForm() = 0;
    // Prepares the working record and the look for gEditMode, then DispData.
    virtual void SetMode() = 0;
    // Working record to controls.
    virtual void DispData() = 0;
    // True when the working record may be saved; shows its own messages.
    virtual bool ChkData() = 0;
    // Writes the working record (insert in mode 1, update in 2, delete in 4); true only when it
    // was written. A failure is reported by SaveData itself or raised to the button's trap.
    virtual bool SaveData() = 0;

    // The slots of the buttons.
    enum Menu : int {
        kMenuClose = 0,     // cancel or close
        kMenuRegister = 1,  // register or delete
        kMenuComplete = 2,  // "完了", where the window has it
        kMenuCount = 3,
    };

    // cmdMENU_Click: kMenuClose closes without saving; kMenuRegister registers (Register); others:
    // the window's own.
    virtual void cmdMENU_Click(int index);
    // Check, save, the list's refresh, the calendar's redraw, close. A refused check or a failed
    // save leaves the window open with its input; once saved, a failing refresh is reported and
    // the window still closes.
    void Register();

    std::array<QPushButton *, kMenuCount> cmdMENU{};

protected:
    // Creates cmdMENU_index at its design geometry (twips), wired to cmdMENU_Click.
    QPushButton *makeMenuButton(int index, const QString &caption, int leftTwips, int topTwips, int widthTwips,
                                int heightTwips);
    // The mode's captions: 1, 2 "ｷｬﾝｾﾙ" "登録" "完了"; 3 "閉じる" and the others hidden;
    // 4 "ｷｬﾝｾﾙ" "削除" and button 2 hidden.
    void applyCaptions(int mode);
    // Modes 3 and 4: text and combo boxes ("txt", "cmb") are locked, leave the tab order and take
    // the window's colour; check boxes, option buttons and list boxes ("Che", "Opt", "Lis") are
    // disabled; other controls and those keepsEditable() names stay. Modes 1 and 2 undo it.
    void applyReadOnlyLook(int mode);
    virtual bool keepsEditable(QWidget *control) const { return false; }
    // The pesticide and shipment inputs move on with one Tab after the read-only look.
    void setTabAfterLook(bool on) { tabAfterLook_ = on; }
    bool tabAfterLook() const { return tabAfterLook_; }

    // After a save: the list that owns the window (when it is a list window) queries again.
    virtual void refreshList();
    // After a save: the month calendar redraws when it is loaded.
    virtual void redrawCalendar();
    // The row to modify or delete was found gone at save time (deleted meanwhile elsewhere) and
    // nothing was written: "該当データが存在しません。" (critical) unless the save reported it
    // already, then the list and the calendar follow and the window closes.
    void rowGone(bool reported = false);

    // True once InitForm and SetMode completed for this showing.
    bool ready() const { return ready_; }

    // The usual trap table of an input window: the standard form for Load, LostFocus, Click,
    // the GotFocus and Validate of the text boxes (txtDATA) and the events named; the plain form
    // for every other event.
    static Trap inputTrap(Event event, QWidget *control, std::initializer_list<Event> alsoStandard = {});

    void onResize() override;
    bool onUnload() override;

private:
    void followAndClose();

    QString table_;
    QObject *comboLock_ = nullptr;  // keeps locked combo boxes closed
    QObject *imeLock_ = nullptr;    // keeps typing out of locked text boxes
    bool ready_ = false;
    bool tabAfterLook_ = false;
};

// The input window over the rows of one record type, read from the list's shared array.
template <class Rec>
class InputForm : public InputFormBase {
public:
    InputForm(const QString &name, std::vector<Rec> &rows, const QString &table)
        : InputFormBase(name, table), rows_(rows)
    {
    }

    // Working record anew, the row gEditRow copied in, the new-row defaults in mode 1, the
    // record defaults of every mode, the captions and the look of the mode (one Tab where the
    // window wants it), then DispData.
    void SetMode() override
    {
        takeListRow();
        if (gEditMode == kEditAdd)
            newRowDefaults(work);
        recordDefaults(work);
        applyCaptions(gEditMode);
        applyReadOnlyLook(gEditMode);
        if (tabAfterLook() && (gEditMode == kEditView || gEditMode == kEditDelete))
            sendTab();
        DispData();
    }

    // The row being edited; validation and the save read and write only this record.
    Rec work;
    // In modes 2 and 4, what the save will overwrite or delete as the window loaded it: the save
    // compares it with what is stored, which another computer may have changed since. Not loaded
    // until SetMode read it.
    std::vector<LoadedRows> loaded{LoadedRows()};

protected:
    // Working record anew, the row gEditRow copied in; in modes 2 and 4 what the save will
    // overwrite, as loaded.
    void takeListRow()
    {
        work = Rec();
        const bool overwrites = gEditMode == kEditModify || gEditMode == kEditDelete;
        // A new row (or a copy) has nothing to compare; a row to overwrite is not loaded until
        // its rows are read, and a save refuses it meanwhile.
        loaded.assign(1, overwrites ? LoadedRows() : LoadedRows::none());
        if (gEditRow < 0)
            return;
        if (gEditRow >= static_cast<long>(rows_.size()))
            throw HbError(kErrSubscript, QStringLiteral("インデックスが有効範囲にありません。"));
        work = rows_[static_cast<std::size_t>(gEditRow)];
        if (overwrites)
            loaded = loadedRowsOf(work);
    }
    // What a new row (or a copy) starts with besides the copied fields.
    virtual void newRowDefaults(Rec &rec) {}
    // What the working record gets in every mode, after the copy and the new-row defaults.
    virtual void recordDefaults(Rec &rec) {}
    // The rows a save of the list's row overwrites or deletes, as loaded: the row as the list read
    // it, and what else the save rewrites, read now.
    virtual std::vector<LoadedRows> loadedRowsOf(const Rec &row) { return {}; }

private:
    std::vector<Rec> &rows_;
};

}  // namespace hb
