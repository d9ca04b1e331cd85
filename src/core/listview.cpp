#include "core/listview.h"

#include "core/controls.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace hb {

namespace {

constexpr float kTwips = 15.0F;  // per pixel

}  // namespace

QTreeWidget *makeReportView(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *view = makeControl<QTreeWidget>(parent, name, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSortingEnabled(false);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsMovable(false);
    view->setColumnCount(0);
    return view;
}

void setReportColumns(QTreeWidget *view, const std::vector<ListColumn> &columns, double scaleX)
{
    view->setColumnCount(static_cast<int>(columns.size()));
    QStringList captions;
    for (const ListColumn &c : columns)
        captions << c.caption;
    view->setHeaderLabels(captions);
    QTreeWidgetItem *header = view->headerItem();
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        header->setTextAlignment(i, columns[static_cast<std::size_t>(i)].align | Qt::AlignVCenter);
    scaleReportColumns(view, columns, scaleX);
}

void scaleReportColumns(QTreeWidget *view, const std::vector<ListColumn> &columns, double scaleX)
{
    if (!view)
        return;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const int twips = columns[static_cast<std::size_t>(i)].widthTwips;
        view->setColumnHidden(i, twips <= 0);
        if (twips > 0)
            view->setColumnWidth(i, qRound(static_cast<float>(twips) * static_cast<float>(scaleX) / kTwips));
    }
}

QTreeWidgetItem *addReportRow(QTreeWidget *view, const std::vector<ListColumn> &columns, const QStringList &cells)
{
    auto *item = new QTreeWidgetItem(view, cells);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        item->setTextAlignment(i, columns[static_cast<std::size_t>(i)].align | Qt::AlignVCenter);
    return item;
}

}  // namespace hb
