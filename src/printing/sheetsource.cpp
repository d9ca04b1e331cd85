#include "printing/sheetsource.h"

#include "core/appinit.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "printing/fdlprintpricetag.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

namespace hb {

namespace {

PtagSheetSource *&installedSource()
{
    static PtagSheetSource *source = nullptr;
    return source;
}

QFont pictureFont(int pixelSize, bool bold)
{
    QFont f(QString::fromLatin1(kUiFontFamily));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

}  // namespace

QImage defaultPtagLogo()
{
    QImage img(1064, 151, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setPen(QPen(Qt::black, 6));
        p.drawLine(8, 140, 1056, 140);
        p.setFont(pictureFont(104, true));
        p.drawText(QRect(0, 0, 1064, 136), Qt::AlignCenter, QStringLiteral("産地直送　新鮮野菜"));
    }
    return img.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

QImage plasticMarkPicture()
{
    QImage img(94, 80, QImage::Format_RGB888);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // The identification mark: an outline with an arrow head at its top left, "プラ" inside.
    QPainterPath frame;
    frame.moveTo(26, 6);
    frame.lineTo(86, 6);
    frame.lineTo(86, 60);
    frame.lineTo(8, 60);
    frame.lineTo(8, 22);
    p.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPath(frame);
    QPainterPath head;
    head.moveTo(8, 6);
    head.lineTo(22, 0);
    head.lineTo(22, 14);
    head.closeSubpath();
    p.fillPath(head, Qt::black);
    p.setFont(pictureFont(30, true));
    p.drawText(QRect(8, 8, 78, 50), Qt::AlignCenter, QStringLiteral("プラ"));
    return img;
}

bool StoredPtagFrame()
{
    const Value v = gINI ? iniDb().GetCtrl(QStringLiteral("PRINT_PTAG_FRAME")) : Value();
    if (isBlank(v) || !IsNumeric(v))
        return false;
    return v.toLong() != 0;
}

QImage ShopPtagLogo()
{
    if (!gMst || !IsNumeric(gShopID))
        return QImage();
    const Value name = NullToVal(
        masterDb().DLookup(QStringLiteral("PTAG_LOGO"), QStringLiteral("M_SHOP"),
                      QStringLiteral("SHOP_ID=") + QString::number(gShopID.toLong())),
        Value(QString()));
    if (name.toString().isEmpty())
        return QImage();
    const QString path = imagesFolder() + name.toString();
    if (!QFileInfo(path).isFile())
        throw HbError(kErrFileNotFound, QStringLiteral("ファイルが見つかりません：") + QDir::toNativeSeparators(path));
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull())
        throw HbError(kErrInvalidPicture, QStringLiteral("ピクチャが不正です：") + QDir::toNativeSeparators(path));
    return picture;
}

PtagSheetSource &ptagSheetSource()
{
    if (PtagSheetSource *s = installedSource())
        return *s;
    fdlPrintPriceTag &dialog = form<fdlPrintPriceTag>();
    dialog.LoadHidden();
    return dialog;
}

void setPtagSheetSource(PtagSheetSource *source)
{
    installedSource() = source;
}

}  // namespace hb
