#pragma once
// What the price-tag sheet takes from the price-tag print dialog: the frame option, the logo,
// the plastic-packaging mark and the scratch picture of the QR symbols. The dialog offers them
// while it exists; otherwise the stored settings stand in, read once as the dialog reads them
// when it loads.

#include "printing/barcode.h"

#include <QImage>

namespace hb {

class PtagSheetSource {
public:
    virtual ~PtagSheetSource() = default;
    // Whether each tag gets its outline.
    virtual bool frameOn() = 0;
    virtual QImage logo() = 0;
    virtual QImage plasticMark() = 0;
    virtual QrScratch &qrScratch() = 0;
};

// The stored settings: PRINT_PTAG_FRAME (Null, a missing key or a text that is no number reads
// as off), the logo file the shop in use names (PTAG_LOGO, in the images folder beside the
// program's folder; the built-in logo when it names none or the file is no picture) and the
// built-in plastic mark. reload() reads them again at the next use, with a new scratch picture.
class StoredSheetSource final : public PtagSheetSource {
public:
    bool frameOn() override;
    QImage logo() override;
    QImage plasticMark() override;
    QrScratch &qrScratch() override { return scratch_; }
    void reload();

private:
    void load();
    bool loaded_ = false;
    bool frame_ = false;
    QImage logo_;
    QrScratch scratch_;
};

// The source the sheet draws with: the one installed, else the stored settings.
PtagSheetSource &ptagSheetSource();
StoredSheetSource &storedSheetSource();
// Installs a source (the price-tag print dialog, while it exists); null: the stored settings.
void setPtagSheetSource(PtagSheetSource *source);

// The built-in pictures: the logo (1064 x 151, monochrome) and the plastic-packaging mark
// (94 x 80, 24-bit colour).
QImage defaultPtagLogo();
QImage plasticMarkPicture();

// The logo file of the shop in use in the images folder; a null picture when the shop names
// none or the file is no picture.
QImage shopLogo();

}  // namespace hb
