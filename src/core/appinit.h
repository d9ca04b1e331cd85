#pragma once
class QApplication;

namespace hb {
// The UI font every window uses; Japanese text needs a CJK face.
inline constexpr const char *kUiFontFamily = "Noto Sans CJK JP";
// Installs the Japanese translation of Qt's standard buttons and sets the UI font.
void initApplication(QApplication &app);
}
