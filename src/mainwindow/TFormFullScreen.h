#pragma once
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDynamicPlace.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <memory>

class QAction;
class CTransButton;

// A full-screen modal window painted from a skin background, with one skinned
// close button: the common part of the information and help windows. The
// background is loaded each time the window is shown and freed when it
// closes; the button's images are reloaded when the colour mode has changed.
class TFormFullScreen : public QDialog
{
public:
    struct SSkin
    {
        QRect textBlock1280; // empty: no text block entry
        QPoint close1280;
        QPoint close1024;
        int background1280;
        int background1024;
    };

    ~TFormFullScreen() override;

    void ShowModal() { exec(); }

    CTransButton* CloseButton() const { return m_btZamknij; }
    const QImage* Background() const { return m_background.get(); }

protected:
    TFormFullScreen(const char* name, const SSkin& skin, CBitmapsContainer* windows,
                    CBitmapsContainer* buttons);

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // The layout, with the cursor on the text block entry (only when the
    // window has one).
    CDynamicPlace& TextBlock();

private:
    void BuildLayout(const SSkin& skin);

    CBitmapsContainer* m_windows = nullptr;
    CBitmapsContainer* m_buttons = nullptr;
    std::unique_ptr<QImage> m_background;
    QImage* m_backgroundPtr = nullptr; // the button's background variable
    CDynamicPlace m_layout;
    int m_textBlockEntry = 0;
    int m_closeEntry = 0;
    int m_backgroundEntry = 0;
    QAction* m_actZamknij = nullptr;
    CTransButton* m_btZamknij = nullptr;
    int m_buttonColorMode = 0;
};
