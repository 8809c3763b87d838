#pragma once

#include "playlist/ListSearch.h"

#include <QDialog>
#include <memory>

class PlaylistStore;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// "本地搜索": a query box over every list, answered as the user types, and
// the matching items as rows of list name, title and time. Enter or a
// double-click on a row chooses that item.
class frmLocalSearch : public QDialog {
    Q_OBJECT
public:
    // Rows shown at most; the count says when there are more.
    static constexpr qsizetype kMaxRows = 500;

    frmLocalSearch(const PlaylistStore& store, QWidget* parent = nullptr);
    ~frmLocalSearch() override;

    QLineEdit* txtQuery;
    QTreeWidget* lstResults;

signals:
    void ItemChosen(const QString& listKey, const QString& itemKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Search(const QString& query);
    void Choose(QTreeWidgetItem* row);

    const PlaylistStore& m_store;
    std::unique_ptr<ListSearch> m_search;
};
