#pragma once
#include "controls/CKompPaintBox.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransBitmap.h"

#include <QChar>
#include <cstdint>
#include <functional>
#include <vector>

class CDynamicPlace;

// The on-screen keyboard of the typing exercises: a grid of letter tiles that
// the patient clicks or types. A tile lights up under the mouse and flashes
// when chosen; the listener may rule a letter out (state 12), which dims it.
class CKompAlphabet : public CKompPaintBox
{
public:
    static constexpr uint8_t StateNormal = 0;
    static constexpr uint8_t StateRuledOut = 12;
    static constexpr int FlashMs = 100;

    struct SAlphLetter
    {
        QChar Letter;
        uint8_t LetterState = StateNormal;
        const QImage* NormalImage = nullptr; // not owned
        const QImage* HotImage = nullptr;    // not owned
    };

    CKompAlphabet(QWidget* owner, QImage* background, QImage* target);
    ~CKompAlphabet() override;

    int Columns = 0;
    int Rows = 0;
    int CellWidth = 0;
    int CellHeight = 0;
    std::vector<SAlphLetter> Letters;
    int LetterCount = 0;
    int Hover = -1;
    CTransBitmap DimOverlay;
    bool Recompose = true;
    // A letter was chosen; the listener may set state to 12 to rule it out.
    std::function<void(int index, QChar letter, uint8_t& state)> OnLetter;

    void Create(CDynamicPlace& placement, int offsetX,
                const MyArray<CSharedKomps::SAlphLetter>& letters, int offsetY);
    void LoadImages(CDynamicPlace& placement, const MyArray<CSharedKomps::SAlphLetter>& letters);
    void MoveTo(int x, int y);
    void Draw();
    void Repaint();
    void SetAllStates(uint8_t state);
    int FindLetter(QChar character) const;
    int HitTest(int x, int y) const;
    bool KeyPress(QChar character);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRect CellRect(int index) const; // own coordinates
    void DrawLetter(int index);      // into Target
    void DrawCell(int index, bool hot);
    void Choose(int index, bool hotFirst);
};
