#pragma once

class QWidget;
class ctlButton;

// The controls of the lyrics window that its skin places.
struct LyricWindowParts {
    QWidget& window;
    ctlButton& cmdClose;
    QWidget& lyrics; // where the lines are drawn
};
