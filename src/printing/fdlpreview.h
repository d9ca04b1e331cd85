#pragma once
// The print preview: one page of report gRepId (of gPageCount pages) at a time, zoomed with a
// slider or the 表示 menu, scrolled when the zoomed sheet is larger than the picture; it prints
// the page on show and opens the margin and the pages-and-copies dialogs.

#include "core/formbase.h"
#include "printing/canvas.h"

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>

class QAction;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSlider;

namespace hb {

// The preview's picture: it keeps what was drawn on it until it is cleared.
class PreviewPicture : public QWidget {
public:
    using QWidget::QWidget;
    // A white picture of the widget's size, to draw on.
    QImage &clear();
    const QImage &image() const { return image_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage image_;
};

// Hands a report to the preview (gRepId, gPageCount) and shows the preview modally over the
// owner.
void PreviewReport(int repId, int pageCount, QWidget *owner);

class fdlPreview : public Form {
    Q_OBJECT
public:
    fdlPreview();

    // The slots of the control arrays: the buttons, the zoom entries of 表示 and the page moves of
    // 移動 (the buttons from kCmdFirst are in the same order).
    enum Command : int {
        kCmdClose = 0,
        kCmdPrintPage = 1,  // "ﾍﾟｰｼﾞ印刷"
        kCmdSetup = 2,      // "印刷設定": the margins
        kCmdFirst = 3,
        kCmdPrevious = 4,
        kCmdNext = 5,
        kCmdLast = 6,
        kCmdCount = 7,
    };
    enum Zoom : int { kZoom50 = 0, kZoom100 = 1, kZoom200 = 2, kZoomCount = 3 };
    enum Move : int { kMoveFirst = 0, kMovePrevious = 1, kMoveNext = 2, kMoveLast = 3, kMoveCount = 4 };

    // Reads the page count and the report's catalogue row (caption, paper size).
    void InitForm();
    // Draws the current page at the current zoom and origin.
    void PrintPreview();
    // Enables the navigation buttons and menu entries for the page on show.
    void SetTbrBtn();
    // Prints the page whose number is in the page box.
    void PrintPage();
    // Lays the controls out for the window's size and sets the scroll ranges.
    void SetSize() override;

    int currentPage() const { return page_; }
    float originX() const { return originX_; }
    float originY() const { return originY_; }
    float paperWidth() const { return paperWidth_; }
    float paperHeight() const { return paperHeight_; }
    // What the page on show drew, the sheet outline last.
    const RenderModel &renderModel() const { return model_; }

    std::array<QPushButton *, kCmdCount> Command1{};
    QLineEdit *txtPAGE = nullptr;
    QLineEdit *txtPAGES = nullptr;
    QSlider *Slider1 = nullptr;
    PreviewPicture *pctPreview = nullptr;
    QScrollBar *HScrl = nullptr;
    QScrollBar *VScrl = nullptr;
    QAction *mnuSET_MGN = nullptr;
    QAction *mnuPRINT = nullptr;
    QAction *mnuCLOSE = nullptr;
    std::array<QAction *, kZoomCount> mnuDISP{};
    std::array<QAction *, kMoveCount> mnuMOVE{};

protected:
    void onLoad() override;
    void onResize() override;
    bool validate(QWidget *control) override;
    void keyPress(QWidget *control, int &key) override;
    EnterKey enterKey(QWidget *control) const override { return EnterKey::Drop; }
    Trap trapFor(Event event, QWidget *control) const override { return Trap::Numbered; }

private:
    void navigate(Move move);
    void zoomTo(int index);
    void scrolled();
    double zoom() const;
    // Runs an event procedure with the window's error trap.
    void handle(const std::function<void()> &body);

    int page_ = 1;
    float originX_ = 0;
    float originY_ = 0;
    float paperWidth_ = 0;
    float paperHeight_ = 0;
    RenderModel model_;
};

}  // namespace hb
