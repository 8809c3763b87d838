// A skin picture from arbitrary bytes: loaded the way a skin folder's
// pictures are, then turned into a window region with a mask colour that the
// input chooses. Input: three bytes of mask colour (COLORREF order: red,
// green, blue), one byte choosing the file name's extension, then the file.

#include "FuzzSupport.h"

#include "controls/ModMask.h"
#include "skin/SkinImages.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return -1; // not worth keeping in the corpus
    FuzzSupport::EnsureApp();
    const quint32 mask = quint32(data[0]) | quint32(data[1]) << 8 | quint32(data[2]) << 16;
    // Skins name their pictures with these extensions; the reader also
    // looks at the content, so a name and a content may disagree.
    static const std::array<const char*, 5> names = {"pic.bmp", "pic.png", "pic.jpg", "pic.gif",
                                                     "PIC.BMP"};
    const QString name = QString::fromLatin1(names[data[3] % names.size()]);
    FuzzSupport::WriteScratchFile(name, data + 4, size - 4);

    SkinImages images(FuzzSupport::ScratchFolder());
    const QImage picture = images.Image(name);
    if (picture.isNull())
        return 0;
    if (picture.format() != QImage::Format_RGB32)
        std::abort(); // pictures are kept as opaque 32-bit images
    const QRegion region = ModMask::MaskRegion(picture, mask);
    if (!QRegion(picture.rect()).contains(region.boundingRect()) && !region.isEmpty())
        std::abort(); // the region never reaches outside the picture
    return 0;
}
