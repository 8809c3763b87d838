#pragma once

#include "skin/SkinRect.h"

#include <QString>
#include <QtGlobal>

// The per-kind records of the skin description. Image names, alignments and
// flags are kept as the text found in the file (empty when the attribute is
// absent); they are interpreted only when the skin is applied. Colours are
// COLORREF values (0x00BBGGRR).

// A button, the time display, the list area, the close button, the title.
struct ImageElement {
    SkinRect Position;
    QString Image;
    QString Align;

    friend bool operator==(const ImageElement&, const ImageElement&) = default;
};

// The playlist window's toolbar.
struct ToolbarElement {
    SkinRect Position;
    QString Image;
    QString HotImage;
    QString Align;

    friend bool operator==(const ToolbarElement&, const ToolbarElement&) = default;
};

// A slider (seek bar, volume) or the list scroll bar.
struct SliderElement {
    SkinRect Position;
    QString Vertical;
    QString BarImage;
    QString ThumbImage;
    QString ThumbResizeCenter;
    QString ThumbResizeTile;
    QString ButtonsImage;
    QString ResizeTile;
    QString FillImage;

    friend bool operator==(const SliderElement&, const SliderElement&) = default;
};

// A text label of the player window.
struct TextElement {
    SkinRect Position;
    quint32 Color = 0;
    QString Font;
    QString FontSize;
    QString Bkgnd;
    QString Align;

    friend bool operator==(const TextElement&, const TextElement&) = default;
};

// The player window's icon.
struct IconElement {
    SkinRect Position;
    QString Icon;

    friend bool operator==(const IconElement&, const IconElement&) = default;
};
