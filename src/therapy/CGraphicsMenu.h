#pragma once
#include "graphics/CTransBitmap.h"
#include "graphics/MyArray.h"

#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>

// The drop-down list of the therapy's exercises: a frame header, one row per
// listed item (its normal or highlighted picture) and a frame footer. It is
// shown with the mouse captured; releasing the left button anywhere closes it
// and reports the item that was highlighted.
class CGraphicsMenu : public QWidget
{
public:
    struct SItem
    {
        std::unique_ptr<QImage> Normal;
        std::unique_ptr<QImage> Highlighted;
    };
    // item index, row, mouse x, mouse y (menu coordinates)
    using SelectHandler = std::function<void(int, int, int, int)>;

    explicit CGraphicsMenu(QWidget* owner);
    ~CGraphicsMenu() override;

    void SetItemCount(int n);
    void SetItemImages(int index, std::unique_ptr<QImage> normal,
                       std::unique_ptr<QImage> highlighted);
    void SetFrameImages(const CTransBitmap& header, const CTransBitmap& footer);
    void ShowItems(const MyArray<int>& list);
    void ShowAllItems();
    void HideAllItems();
    void Popup();
    // Row and item under y (menu coordinates); false outside the list.
    bool ItemAt(int y, int& item, int& row) const;

    int ItemCount() const { return m_items.Count(); }
    int ItemHeight() const { return m_itemHeight; }
    int HotItem() const { return m_hotItem; }
    int HotRow() const { return m_hotRow; }
    const MyArray<int>& Shown() const { return m_shown; }
    const QRect& ItemsArea() const { return m_itemsArea; }
    const SItem& Item(int index) const { return m_items[index]; }

    SelectHandler OnSelect;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void DrawRow(int row, bool highlighted);

    CTransBitmap m_header;
    CTransBitmap m_footer;
    QRect m_itemsArea; // left, top, right (exclusive), bottom (exclusive)
    int m_itemHeight = 1;
    int m_hotItem = -1;
    int m_hotRow = -1;
    MyArray<SItem> m_items;
    MyArray<int> m_shown;
    bool m_pressed = false;
    QImage m_canvas; // what the menu shows, drawn row by row
};
