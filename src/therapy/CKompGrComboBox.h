#pragma once
#include "graphics/CTransBitmap.h"
#include "graphics/MyArray.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class CDynamicPlace;
class CGraphicsMenu;

// The exercise box of the therapy's menu strip: shows the title picture of the
// current exercise in one of three looks and drops the exercise menu down
// under itself when clicked.
class CKompGrComboBox : public QWidget
{
public:
    enum class ELook
    {
        Normal,
        Hot,
        Pressed
    };
    // item index, row, mouse x, mouse y (parent coordinates)
    using ChangeHandler = std::function<void(int, int, int, int)>;

    // `background` holds the bitmap under the box (may be empty at first);
    // null: the parent's own pixels are used.
    CKompGrComboBox(QWidget* owner, QImage** background);
    ~CKompGrComboBox() override;

    int BackX = 0;
    int BackY = 0;
    ChangeHandler OnChange;

    void PlaceFromTable(CDynamicPlace& table);
    void SetSelected(int row);
    int GetSelected() const { return m_selected; }
    // No row shown (a new therapy starts without one).
    void ClearSelected() { m_selected = -1; }
    void Refresh();

    CGraphicsMenu& Menu() { return *m_menu; }
    ELook Look() const { return m_current; }
    const QImage* CurrentComposite() const;
    int DropOffset() const { return m_dropOffset; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildMenuItems(int captionX, int itemHeight);
    void DrawCaption();
    bool Compose();
    void SetLook(ELook look);
    void MenuSelected(int item, int row, int x, int y);

    std::unique_ptr<CGraphicsMenu> m_menu;
    CTransBitmap m_normal;
    CTransBitmap m_hot;
    CTransBitmap m_pressed;
    std::vector<std::unique_ptr<CTransBitmap>> m_captions;
    int m_captionX = 0;
    int m_captionY = 0;
    int m_pressedDX = 0;
    int m_pressedDY = 0;
    std::unique_ptr<QImage> m_itemBackNormal;
    std::unique_ptr<QImage> m_itemBackHighlighted;
    int m_dropOffset = 40;
    ELook m_current = ELook::Normal;
    QImage** m_background = nullptr;
    int m_selected = -1;
    bool m_needsCompose = true;
    bool m_clickArmed = false;
};
