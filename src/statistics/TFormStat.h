#pragma once
#include "graphics/CDynamicPlace.h"

#include <QDialog>
#include <QImage>
#include <memory>

class CBitmapsContainer;
class CStatistics;
class CTransButton;
class QAction;
class QLabel;

// The result window of a therapy: the totals so far and the question whether
// to end the therapy, answered with the skinned "Tak" and "Nie" buttons. One
// size and layout in every display mode; the frame is tiled from a small skin.
class TFormStat : public QDialog
{
public:
    static constexpr int ClientWidth = 524;
    static constexpr int ClientHeight = 554;

    // `windows` holds the frame skin, `buttons` the button images; neither is
    // owned and both must outlive the window.
    TFormStat(CBitmapsContainer* windows, CBitmapsContainer* buttons, QWidget* parent = nullptr);
    ~TFormStat() override;

    // Shows the totals of `statistics` modally; true when "Tak" closed it.
    bool ShowResults(const CStatistics& statistics);
    void ReloadSkins();

    // Fills the figures without showing the window.
    void FillResults(const CStatistics& statistics);

    QLabel* lbLZ = nullptr;
    QLabel* lbPoprawnosc = nullptr;
    QLabel* lbRozw = nullptr;
    QLabel* lbBezblednie = nullptr;
    QLabel* lbBlad = nullptr;
    QLabel* lbPomoc = nullptr;
    QLabel* lbNieRozw = nullptr;
    QLabel* lbCzas = nullptr;
    QAction* actTak = nullptr;
    QAction* actNie = nullptr;
    CTransButton* TakButton() const { return m_tak.get(); }
    CTransButton* NieButton() const { return m_nie.get(); }
    const QImage& BackBuffer() const { return m_backBuffer; }
    bool NeedsCompose() const { return m_needsCompose; }

    // The frame for a window of w x h from a skin with a 125-pixel top band,
    // a 65-pixel bottom band and 65-pixel corners: the program's dialog
    // frame.
    static QImage ComposeFrame(const QImage& skin, int w, int h);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    void BuildPlaces();
    void LoadSkin();
    void Compose();
    QLabel* AddLabel(int left, int top, const QString& text, int fontHeight);

    CBitmapsContainer* m_windows;
    CBitmapsContainer* m_buttons;
    std::unique_ptr<QImage> m_skin;
    QImage m_backBuffer;
    QImage* m_backPtr = nullptr; // the buttons' background variable
    CDynamicPlace m_places;
    bool m_needsCompose = true;
    std::unique_ptr<CTransButton> m_nie;
    std::unique_ptr<CTransButton> m_tak;
};
