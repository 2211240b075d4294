#pragma once
#include "graphics/CTransBitmap.h"
#include "graphics/MyArray.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class CDynamicPlace;
class QWidget;

// The main window's column of bookmarks, drawn from whole-strip images (one
// with no bookmark raised, one per raised bookmark) and a tick mark. A click
// on a bookmark raises it; a click on its small square (if it has one) ticks
// or unticks it. The strip draws on a plain paint box widget that it watches
// (not owned: the window owns both).
class CKompBookmarks : public QObject
{
public:
    struct CBookmark
    {
        std::unique_ptr<QImage> Image;
        int Left = 0;
        int Top = 0;
        int Right = 0;
        int Bottom = 0;
        int SquareX = 0;
        int SquareY = 0;
        int SquareRight = 0;
        int SquareBottom = 0;
        bool Ticked = false;
        std::unique_ptr<QImage> OnImage;
        std::unique_ptr<QImage> OffImage;
        bool HasSquare = false;
    };

    // Squares take clicks this far outside their edges, so that a shaky hand
    // still hits them.
    static constexpr int SquareMargin = 4;

    explicit CKompBookmarks(QWidget* paintBox);
    ~CKompBookmarks() override;

    bool Active = true;
    std::function<void(int oldIndex, int newIndex)> OnChange;
    std::function<void(int index, bool state)> OnTick;

    // Builds the strip from the layout, whose cursor stands on the strip's
    // first entry and whose Container holds the strip images. A later call
    // (colour switch) keeps the current bookmark and the ticks.
    void Setup(CDynamicPlace& layout);
    void SetCurrent(int index);
    int GetCurrent() const { return m_current; }
    int GetTickMask() const;
    void SetTickMask(int mask);
    void Compose();
    void Paint();
    void Redraw();

    int Count() const { return m_bookmarks.Count(); }
    const CBookmark& Bookmark(int index) const { return m_bookmarks[index]; }
    const QImage& Buffer() const { return m_buffer; }
    QWidget* PaintBox() const { return m_paintBox; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Click(int x, int y);
    void PrepareSquares();

    int m_current = -1;
    MyArray<CBookmark> m_bookmarks;
    std::unique_ptr<QImage> m_noneImage;
    CTransBitmap m_tick;
    QImage m_buffer;
    QPointer<QWidget> m_paintBox; // not owned
};
