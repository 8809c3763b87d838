#include "playlist/frmLocalSearch.h"

#include "playlist/PlaylistStore.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kListKeyRole = Qt::UserRole;
constexpr int kItemKeyRole = Qt::UserRole + 1;

} // namespace

frmLocalSearch::frmLocalSearch(const PlaylistStore& store, QWidget* parent)
    : QDialog(parent), m_store(store), m_search(std::make_unique<ListSearch>(store)) {
    setWindowTitle(QStringLiteral("本地搜索"));
    txtQuery = new QLineEdit(this);
    txtQuery->setPlaceholderText(QStringLiteral("歌名或路径"));
    lstResults = new QTreeWidget(this);
    lstResults->setHeaderLabels(
        {QStringLiteral("列表"), QStringLiteral("标题"), QStringLiteral("时间")});
    lstResults->setRootIsDecorated(false);
    lstResults->setUniformRowHeights(true);
    lstResults->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtQuery);
    layout->addWidget(lstResults);
    resize(480, 360);
    connect(txtQuery, &QLineEdit::textChanged, this, &frmLocalSearch::Search);
    connect(lstResults, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* row) { Choose(row); });
    // Enter in the query box takes the selected row, or the first.
    txtQuery->installEventFilter(this);
}

frmLocalSearch::~frmLocalSearch() = default;

bool frmLocalSearch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtQuery && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            QTreeWidgetItem* row = lstResults->currentItem();
            Choose(row ? row : lstResults->topLevelItem(0));
            return true;
        }
        if (key == Qt::Key_Down || key == Qt::Key_Up) {
            // The arrows move through the results while typing goes on.
            const int at = lstResults->indexOfTopLevelItem(lstResults->currentItem());
            const int next = std::clamp(at + (key == Qt::Key_Down ? 1 : -1), 0,
                                        std::max(0, lstResults->topLevelItemCount() - 1));
            lstResults->setCurrentItem(lstResults->topLevelItem(next));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmLocalSearch::Search(const QString& query) {
    lstResults->clear();
    const QList<ListSearch::Hit> hits = m_search->Find(query, kMaxRows);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(hits.size());
    for (const ListSearch::Hit& hit : hits) {
        const PlaylistStore::Record item = m_store.GetMedia(hit.ListKey, hit.ItemKey);
        if (!item)
            continue;
        auto* row = new QTreeWidgetItem(
            QStringList{m_store.ListTitle(hit.ListKey), item->Title, item->Duration});
        row->setData(0, kListKeyRole, hit.ListKey);
        row->setData(0, kItemKeyRole, hit.ItemKey);
        row->setToolTip(1, item->Path);
        rows.append(row);
    }
    lstResults->addTopLevelItems(rows);
    if (!rows.isEmpty())
        lstResults->setCurrentItem(rows.first());
}

void frmLocalSearch::Choose(QTreeWidgetItem* row) {
    if (!row)
        return;
    const QString listKey = row->data(0, kListKeyRole).toString();
    const QString itemKey = row->data(0, kItemKeyRole).toString();
    accept();
    emit ItemChosen(listKey, itemKey);
}
