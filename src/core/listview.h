#pragma once
// ListView1 in report view: rows of cells under captioned columns, one row selected at a time.
// The columns' widths are design widths in twips times the window's horizontal factor; a width
// of 0 hides the column.

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace hb {

// A column: key, caption, design width in twips (0 hides it), alignment.
struct ListColumn {
    QString key;
    QString caption;
    int widthTwips = 0;
    Qt::Alignment align = Qt::AlignLeft;
};

// Creates the view at a geometry in pixels, without columns.
QTreeWidget *makeReportView(QWidget *parent, const QString &name, const QRect &geometry);
// Replaces the columns, sized for the factor.
void setReportColumns(QTreeWidget *view, const std::vector<ListColumn> &columns, double scaleX);
// Sizes the columns for the factor.
void scaleReportColumns(QTreeWidget *view, const std::vector<ListColumn> &columns, double scaleX);
// Adds a row: the first text is the item's text, the others its cells, aligned by column.
QTreeWidgetItem *addReportRow(QTreeWidget *view, const std::vector<ListColumn> &columns, const QStringList &cells);

}  // namespace hb
