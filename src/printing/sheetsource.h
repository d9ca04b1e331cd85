#pragma once
// What the price-tag sheet takes from the price-tag print dialog: the frame option, the logo,
// the plastic-packaging mark and the scratch picture of the QR symbols.

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

// The source the sheet draws with: the one installed, else the price-tag print dialog, which is
// loaded without being shown when it is not loaded (its Load reads the stored frame option and
// the shop's logo; it lists nothing).
PtagSheetSource &ptagSheetSource();
// Installs a source in place of the dialog (null: the dialog again).
void setPtagSheetSource(PtagSheetSource *source);

// The built-in pictures: the logo (1064 x 151, monochrome) and the plastic-packaging mark
// (94 x 80, 24-bit colour).
QImage defaultPtagLogo();
QImage plasticMarkPicture();

// The stored frame option PRINT_PTAG_FRAME: on for a number other than 0; a missing key, Null
// or a text that is no number reads as off.
bool StoredPtagFrame();

// The logo file the shop in use names (M_SHOP.PTAG_LOGO) in the images folder; a null picture
// when it names none. A file that is missing (53) or is no picture (481) raises an error that
// names it.
QImage ShopPtagLogo();

}  // namespace hb
