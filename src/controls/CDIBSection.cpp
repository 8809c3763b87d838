#include "controls/CDIBSection.h"

#include <algorithm>
#include <cstring>
#include <limits>

bool CDIBSection::Create(int lWidth, int lHeight) {
    ClearUp();
    if (lWidth <= 0 || lHeight <= 0 ||
        qint64(lWidth) * 3 + 3 > std::numeric_limits<int>::max() / qint64(lHeight)) {
        return false;
    }
    QImage bits(lWidth, lHeight, QImage::Format_BGR888);
    if (bits.isNull() || bits.bytesPerLine() != BufferSizeFor(lWidth)) {
        return false;
    }
    bits.fill(0);
    m_bits = bits;
    return true;
}

void CDIBSection::CreateFromPicture(const QImage& picture) {
    if (!Create(picture.width(), picture.height())) {
        return;
    }
    LoadPictureBlt(picture, 0, 0, -1, -1);
}

void CDIBSection::LoadPictureBlt(const QImage& source, int lSrcLeft, int lSrcTop, int lSrcWidth,
                                 int lSrcHeight) {
    if (!HasDib() || source.isNull()) {
        return;
    }
    const int width = lSrcWidth < 0 ? Width() : std::min(lSrcWidth, Width());
    const int height = lSrcHeight < 0 ? Height() : std::min(lSrcHeight, Height());
    // The part of the source rectangle that lies on the source picture.
    const int left = std::max(lSrcLeft, 0);
    const int top = std::max(lSrcTop, 0);
    const int right = std::min(lSrcLeft + width, source.width());
    const int bottom = std::min(lSrcTop + height, source.height());
    if (right <= left || bottom <= top) {
        return;
    }
    const QImage part =
        source.copy(left, top, right - left, bottom - top).convertToFormat(QImage::Format_BGR888);
    const int destX = left - lSrcLeft;
    const int destY = top - lSrcTop; // top-down row in the bitmap
    for (int y = 0; y < part.height(); ++y) {
        const int scanLine = Height() - 1 - (destY + y);
        std::memcpy(m_bits.scanLine(scanLine) + 3 * destX, part.constScanLine(y),
                    size_t(3 * part.width()));
    }
}

quint32 CDIBSection::GetPixelRGB(int row, int col, uchar& r, uchar& g, uchar& b) const {
    if (!HasDib() || col < 1 || col > Width() || row < 1 || row > Height()) {
        return 0;
    }
    const uchar* line = m_bits.constScanLine(row - 1);
    const int x = 3 * (col - 1);
    r = line[x + 2];
    g = line[x + 1];
    b = line[x];
    return quint32(r) + 256u * g + 65536u * b;
}

quint32 CDIBSection::GetPixelRGB(int row, int col) const {
    uchar r = 0, g = 0, b = 0;
    return GetPixelRGB(row, col, r, g, b);
}

QImage CDIBSection::ToImage() const {
    return m_bits.mirrored(false, true);
}
