#include "mainwindow/CStatListView.h"

#include <QKeyEvent>
#include <QMouseEvent>

int CStatListView::CurrentRow() const
{
    QTreeWidgetItem* item = currentItem();
    if (!item || !item->isSelected())
        return -1;
    return indexOfTopLevelItem(item);
}

void CStatListView::SetCurrentRow(int row)
{
    QTreeWidgetItem* item = row >= 0 ? topLevelItem(row) : nullptr;
    if (item) {
        setCurrentItem(item);
        item->setSelected(true);
    } else {
        clearSelection();
        setCurrentItem(nullptr);
    }
}

void CStatListView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!itemAt(at))
        SetCurrentRow(-1);
    else
        QTreeWidget::mousePressEvent(event);
    if (OnMouseDown)
        OnMouseDown(event->button(), at.x() + horizontalOffset());
}

void CStatListView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (OnMouseUp)
        OnMouseUp();
}

void CStatListView::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyDown)
        OnKeyDown(event->key());
    QTreeWidget::keyPressEvent(event);
}
