#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The small window a slow fetch shows: what is awaited, a bar that only
// says "busy", and a cancel button. Not modal: the rest of the program stays
// on screen and can still be closed; InteractiveFetches keeps input away
// from it meanwhile. Cancel, Escape and the window's close button all
// reject the dialog.
class frmFetchProgress : public QDialog {
    Q_OBJECT
public:
    explicit frmFetchProgress(QWidget* parent = nullptr);

    void SetWhat(const QString& what);

    QLabel* lbWhat;
    QProgressBar* barBusy;
    QPushButton* cmdCancel;
};
