#pragma once

#include <QString>
#include <QVariant>

// The record behind one row of the list control.
class CListItem {
public:
    QString iTitle; // title column
    QString iTime;  // duration column
    bool iSelected = false;
    QVariant iData; // the key the item was added under (a string)

    bool operator==(const CListItem& other) const = default;
};
