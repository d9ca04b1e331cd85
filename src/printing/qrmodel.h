#pragma once
// The QR Code Model 2 encoder: character codes in, module matrix out.

#include <QString>
#include <cstdint>
#include <vector>

namespace hb {

// Result codes of QRmodel2.
enum QrResult : std::int32_t {
    kQrOk = 0,
    kQrBadVersion = 1,    // version not within 1 to 40
    kQrBadLevel = 2,      // error-correction level not within 1 (L) to 4 (H)
    kQrBadLength = 3,     // length not within 1 to 7089 characters
    kQrTooMuchData = 4,   // the data does not fit this version at this level
};

inline constexpr std::int32_t kQrMaxChars = 7089;

// The side of a symbol of the version, in modules.
inline constexpr std::int32_t qrSide(std::int32_t version) { return version * 4 + 17; }

// The code of each character of the text in the ANSI code page (932): a single-byte character
// gives its byte, a double-byte one its two-byte code as a signed 16-bit value widened to 32
// bits. A character the code page lacks gives "?".
std::vector<std::int32_t> AnsiCharCodes(const QString &text);

// Encodes `length` character codes (AnsiCharCodes) as a symbol of exactly the given version
// at the error-correction level (1 L, 2 M, 3 Q, 4 H). On success (0) the matrix, of
// qrSide(version)^2 elements, holds module (column i, row j) at i * side + j: 1 dark, 0 light.
// Otherwise the matrix is left untouched and the result says why (QrResult).
std::int32_t QRmodel2(const std::int32_t *codes, std::int32_t length, std::int32_t version, std::int32_t ecLevel,
                      std::int32_t *matrix);

// How many times QRmodel2 has encoded (or refused) since the program started.
long qrModelCalls();

}  // namespace hb
