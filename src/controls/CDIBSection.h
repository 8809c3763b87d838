#pragma once

#include <QImage>
#include <QtGlobal>

// An off-screen 24-bit bitmap whose pixel bytes are read in place.
//
// Scan lines are stored bottom-up: scan line 0 is the bottom row of the
// picture and scan line Height()-1 the top row. Each scan line holds 3 bytes
// per pixel in the order blue, green, red and is padded to a multiple of 4
// bytes (ImageBufferSize). The byte view Byte(x, s) addresses byte x of scan
// line s, with x in 0..XBound() and s in 0..YBound().
class CDIBSection {
public:
    CDIBSection() = default;
    ~CDIBSection() { ClearUp(); }
    CDIBSection(const CDIBSection&) = delete;
    CDIBSection& operator=(const CDIBSection&) = delete;

    // Releases any previous bitmap and makes a new one (contents zero).
    // Fails for a size that is not positive or cannot be allocated.
    bool Create(int lWidth, int lHeight);
    // Create at the picture's size, then copy the picture in at (0, 0).
    void CreateFromPicture(const QImage& picture);
    // Plain copy of the source rectangle into the bitmap at (0, 0); a negative
    // width or height means the bitmap's own width or height. Source pixels
    // outside the source picture leave the bitmap unchanged.
    void LoadPictureBlt(const QImage& source, int lSrcLeft, int lSrcTop, int lSrcWidth = -1,
                        int lSrcHeight = -1);

    bool HasDib() const { return !m_bits.isNull(); }
    int Width() const { return m_bits.width(); }
    int Height() const { return m_bits.height(); }
    int ImageBufferSize() const { return HasDib() ? BufferSizeFor(Width()) : 0; }
    int XBound() const { return HasDib() ? ImageBufferSize() - 1 : -1; }
    int YBound() const { return HasDib() ? Height() - 1 : -1; }
    const uchar* DIBSectionBitsPtr() const { return HasDib() ? m_bits.constBits() : nullptr; }
    uchar* DIBSectionBitsPtr() { return HasDib() ? m_bits.bits() : nullptr; }
    const uchar& Byte(int x, int scanLine) const { return m_bits.constScanLine(scanLine)[x]; }

    // Colour of the pixel at 1-based row (row 1 = bottom row) and column as a
    // COLORREF, with its bytes in r, g, b. Outside the bitmap, or without one,
    // returns 0 and leaves r, g, b unchanged.
    quint32 GetPixelRGB(int row, int col, uchar& r, uchar& g, uchar& b) const;
    quint32 GetPixelRGB(int row, int col) const;

    // The picture as an ordinary top-down image.
    QImage ToImage() const;

    void ClearUp() { m_bits = QImage(); }

    static int BufferSizeFor(int width) { return (3 * width + 3) & ~3; }

private:
    QImage m_bits; // image row s holds scan line s
};
