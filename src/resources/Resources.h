#pragma once
// The module's resources: bitmaps compiled in from orv.qrc and the string
// table. Bitmaps are addressed by their resource numbers.

#include <QPixmap>
#include <QSize>
#include <QString>

namespace orv {

namespace bitmap {
inline constexpr int LargeIcon = 361;        // 32x32, magenta 0xFF00FF where transparent
inline constexpr int SmallIcon = 362;        // 16x16, magenta where transparent
inline constexpr int ButtonFace = 363;       // push-button face strip
inline constexpr int TabImages = 389;        // seven 22x22 images, mask = top-left pixel
inline constexpr int CheckButtonFace = 393;  // check-button face strip
}  // namespace bitmap

// Layout of the button face strips (363 and 393): states of one size side by
// side, in the order normal, hot, pressed, disabled and (393 only) checked.
inline constexpr QSize kButtonFaceSize(100, 26);
inline constexpr int kButtonFaceStates = 4;
inline constexpr int kCheckButtonFaceStates = 5;
// The check box of 393 occupies x 7..18 of each state; text starts after it.
inline constexpr int kCheckButtonTextIndent = 24;
inline constexpr int kTabImageSize = 22;
inline constexpr int kTabImageCount = 7;

namespace resource_string {
inline constexpr int Title = 1;        // "ORV"
inline constexpr int Description = 2;  // "ORV ORV Plugin"
inline constexpr int Version = 3;      // "1.9"
}  // namespace resource_string

// Registers the compiled-in resources. The resources live in a static
// library, so nothing would pull them into a program unless this is called;
// LoadBitmap calls it, and calling it more than once is harmless.
void InitResources();

// The bitmap with that number; a null pixmap for an unknown number.
QPixmap LoadBitmap(int id);
// The resource path of a bitmap (":/orv/bitmaps/<id>.png").
QString BitmapPath(int id);
// The string table entry; empty for an unknown number.
QString LoadResourceString(int id);

}  // namespace orv
