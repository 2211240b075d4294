#pragma once
#include <QImage>

class QPainter;

// A letter tile of the letter table. Two tiles show the same letter exactly
// when they share the image (one of the shared context's letter images).
class CTableBlock
{
public:
    explicit CTableBlock(const QImage* image = nullptr);
    CTableBlock(const CTableBlock&) = delete;
    CTableBlock& operator=(const CTableBlock&) = delete;
    virtual ~CTableBlock() = default;

    bool Fixed = false;
    bool Visible = true;
    const QImage* Image = nullptr; // not owned
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int HomeLeft = 0;
    int HomeTop = 0;

    virtual bool Equals(const CTableBlock& other) const;
    virtual void DrawAt(QPainter& canvas, int x, int y) const;
    virtual bool Contains(int x, int y) const;

    void MoveTo(int left, int top)
    {
        Left = left;
        Top = top;
    }
    void SaveHome()
    {
        HomeLeft = Left;
        HomeTop = Top;
    }
};
