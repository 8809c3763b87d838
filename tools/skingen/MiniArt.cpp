#include "MiniArt.h"

#include "Canvas.h"
#include "Painting.h"

namespace skingen::MiniArt {

QImage Background(const SkinDesign& d, const MiniLayout& l) {
    const Palette& p = d.palette;
    Canvas c(l.size.width(), l.size.height());
    // No caption band: the whole bar is the handle it is dragged by.
    DrawWindowBody(c, d, l.size, QRect());
    DrawPanel(c, l.ledPanel, p, p.panelTop, p.panelBottom);
    DrawPanel(c, l.textPanel, p, p.panelTop, p.panelBottom);
    // The same shallow recess the player window has behind its keys.
    const Coverage well = RoundRect(l.keys, d.style.buttonRadius + 2);
    c.FillShape(l.keys, well, Shade(p.bodyBottom, -120), Shade(p.bodyBottom, -60));
    c.BottomRim(l.keys, well, p.rimLight);
    return c.Image();
}

} // namespace skingen::MiniArt
