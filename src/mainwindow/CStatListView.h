#pragma once
#include <QTreeWidget>
#include <functional>

// The statistics list: a report-style list that tells its page about every
// mouse press (after the press has moved the current row) and every key
// (before the list acts on it). A press on empty space leaves no current row.
class CStatListView : public QTreeWidget
{
public:
    using QTreeWidget::QTreeWidget;

    std::function<void(Qt::MouseButton button, int x)> OnMouseDown;
    std::function<void(int key)> OnKeyDown;
    // After a release, which may select the row pressed on.
    std::function<void()> OnMouseUp;

    // The current row's index when it is selected, else -1.
    int CurrentRow() const;
    void SetCurrentRow(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
