#pragma once
// The program's fixed colours. They are written as Windows colour values
// ($00BBGGRR: blue in the high byte, red in the low byte) and converted to
// Qt's 0xAARRGGBB at compile time.

#include <QRgb>

#include <cstdint>

namespace Lockwyn {

constexpr QRgb ColorFromBgr(std::uint32_t bgr)
{
    return qRgb(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

// Password strength bar: weak, middling, strong.
constexpr QRgb clStrengthBarStart = ColorFromBgr(0x6167E9);  // RGB(233, 103, 97)
constexpr QRgb clStrengthBarMiddle = ColorFromBgr(0x7FDBFE); // RGB(254, 219, 127)
constexpr QRgb clStrengthBarFinish = ColorFromBgr(0x65DA71); // RGB(113, 218, 101)

// Background of a field whose content is refused: a confirmation that does
// not match, a search that found nothing.
constexpr QRgb clMismatchBackground = ColorFromBgr(0xBEBEFF); // RGB(255, 190, 190)

// Group tree and token list texts.
constexpr QRgb clRootGroupText = ColorFromBgr(0x885A35);      // RGB(53, 90, 136)
constexpr QRgb clExpiredText = ColorFromBgr(0x808080);        // grey
constexpr QRgb clInExpiredGroupText = ColorFromBgr(0xB0B0B0); // light grey
constexpr QRgb clSearchCounterText = ColorFromBgr(0x0071FE);  // RGB(254, 113, 0)
constexpr QRgb clCounterText = ColorFromBgr(0xCC6600);        // RGB(0, 102, 204)
constexpr QRgb clUrlText = ColorFromBgr(0xFF0000);            // RGB(0, 0, 255)
constexpr QRgb clNormalText = ColorFromBgr(0x000000);

// Info panel: title and group path, captions above values.
constexpr QRgb clInfoTitleText = ColorFromBgr(0x885A35);   // RGB(53, 90, 136)
constexpr QRgb clInfoCaptionText = ColorFromBgr(0x808080); // grey

} // namespace Lockwyn
