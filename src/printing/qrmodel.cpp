#include "printing/qrmodel.h"

#include <qrencode.h>

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace hb {

namespace {

long gCalls = 0;

// One character (one code point) in code page 932; empty when the code page lacks it.
class Cp932 {
public:
    Cp932() : cd_(iconv_open("CP932", "UTF-8")) {}
    ~Cp932()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Cp932(const Cp932 &) = delete;
    Cp932 &operator=(const Cp932 &) = delete;

    QByteArray encode(const QString &character)
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return character.size() == 1 && character.at(0).unicode() < 128 ? character.toLatin1() : QByteArray();
        QByteArray in = character.toUtf8();
        char out[16];
        char *inp = in.data();
        size_t inLeft = static_cast<size_t>(in.size());
        char *outp = out;
        size_t outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
            return QByteArray();
        return QByteArray(out, static_cast<int>(outp - out));
    }

private:
    iconv_t cd_;
};

}  // namespace

std::vector<std::int32_t> AnsiCharCodes(const QString &text)
{
    Cp932 cp;
    std::vector<std::int32_t> codes;
    codes.reserve(static_cast<size_t>(text.size()));
    for (int i = 0; i < text.size(); ++i) {
        int len = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            len = 2;
        const QByteArray b = cp.encode(text.mid(i, len));
        i += len - 1;
        if (b.size() == 1)
            codes.push_back(static_cast<unsigned char>(b.at(0)));
        else if (b.size() == 2)
            codes.push_back(static_cast<std::int16_t>((static_cast<unsigned char>(b.at(0)) << 8) |
                                                      static_cast<unsigned char>(b.at(1))));
        else
            codes.push_back('?');
    }
    return codes;
}

long qrModelCalls()
{
    return gCalls;
}

std::int32_t QRmodel2(const std::int32_t *codes, std::int32_t length, std::int32_t version, std::int32_t ecLevel,
                      std::int32_t *matrix)
{
    ++gCalls;
    if (version < 1 || version > 40)
        return kQrBadVersion;
    if (ecLevel < 1 || ecLevel > 4)
        return kQrBadLevel;
    if (length < 1 || length > kQrMaxChars)
        return kQrBadLength;

    QByteArray bytes;
    for (std::int32_t k = 0; k < length; ++k) {
        const std::int32_t c = codes[k];
        if (c >= 0 && c <= 0xFF) {
            bytes.append(static_cast<char>(c));
        } else {
            bytes.append(static_cast<char>((c >> 8) & 0xFF));
            bytes.append(static_cast<char>(c & 0xFF));
        }
    }
    static const QRecLevel kLevels[4] = {QR_ECLEVEL_L, QR_ECLEVEL_M, QR_ECLEVEL_Q, QR_ECLEVEL_H};
    const QRecLevel level = kLevels[ecLevel - 1];
    // Shift_JIS double-byte characters go in kanji mode; a text holding NUL only as 8-bit data.
    QRcode *raw = bytes.contains('\0')
                      ? QRcode_encodeData(static_cast<int>(bytes.size()),
                                          reinterpret_cast<const unsigned char *>(bytes.constData()), version, level)
                      : QRcode_encodeString(bytes.constData(), version, level, QR_MODE_KANJI, 1);
    const std::unique_ptr<QRcode, void (*)(QRcode *)> qr(raw, QRcode_free);
    // The library raises the version to fit the data; a symbol of another size is no answer.
    if (!qr || qr->version != version)
        return kQrTooMuchData;
    const int n = qrSide(version);
    if (qr->width != n)
        return kQrTooMuchData;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            matrix[i * n + j] = qr->data[j * n + i] & 1;
    return kQrOk;
}

}  // namespace hb
