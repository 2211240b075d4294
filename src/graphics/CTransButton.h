#pragma once
#include "graphics/CTransBitmap.h"

#include <QWidget>
#include <cstdint>
#include <functional>

class QAction;
class CDynamicPlace;

// The push button of the skinned windows: four pre-composed looks (normal,
// hover, pressed, disabled), each the state's image blended with its mask over
// what lies under the button (a background bitmap, a solid colour, or the
// parent's own pixels).
class CTransButton : public QWidget
{
public:
    enum class EState
    {
        Normal,
        Hover,
        Pressed,
        Disabled
    };
    static constexpr int DisabledOpacity = 120;

    CTransButton(QWidget* owner, int kind, QAction* action, QImage** background);
    CTransButton(QWidget* owner, int kind, std::function<void()> handler, QImage** background);
    CTransButton(QWidget* parent, int kind, QAction* action, int colour, QWidget* form);
    ~CTransButton() override;

    // Where the background bitmap's origin lies in the parent's coordinates.
    int BgOffsetX = 0;
    int BgOffsetY = 0;

    void PlaceFromTable(CDynamicPlace& table);
    void SetEnabled(bool enabled, bool repaint);
    void MoveTo(int x, int y, bool recompose);
    // Another solid colour under the button (-1: none), as after a switch
    // between colour and grey; the looks are composed again.
    void SetColour(int colour);
    void Refresh();

    EState State() const { return m_state; }
    const QImage* CurrentComposite() const;
    CTransBitmap& NormalBitmap() { return m_normal; }
    CTransBitmap& HoverBitmap() { return m_hover; }
    CTransBitmap& PressedBitmap() { return m_pressed; }
    CTransBitmap& DisabledBitmap() { return m_disabled; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void Init(int kind, int colour);
    bool IsFullyEnabled() const { return isEnabled() && m_enabled; }
    void SelectState();
    void Draw();
    void PrepareDisabled();
    void ComposeStates();
    void ComposeDisabled(const QImage* bg, int bx, int by);
    void Press(bool armClick);

    QWidget* m_form = nullptr;
    CTransBitmap m_normal;
    CTransBitmap m_hover;
    CTransBitmap m_pressed;
    CTransBitmap m_disabled;
    EState m_state = EState::Normal;
    bool m_mouseInside = false;
    bool m_pressedFlag = false;
    bool m_clickArmed = false;
    bool m_disabledPrepared = false;
    QImage** m_background = nullptr;
    uint32_t m_colour = 0;
    bool m_solidColour = false;
    bool m_enabled = true;
    bool m_recompose = false;
    int m_kind = 0;
    std::function<void()> m_onClick;
};
