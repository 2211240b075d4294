#include "controls/CTableBlock.h"

#include <QPainter>

CTableBlock::CTableBlock(const QImage* image)
    : Image(image), Width(image ? image->width() : 0), Height(image ? image->height() : 0)
{
}

bool CTableBlock::Equals(const CTableBlock& other) const
{
    return Image == other.Image;
}

void CTableBlock::DrawAt(QPainter& canvas, int x, int y) const
{
    if (Visible && Image)
        canvas.drawImage(x, y, *Image);
}

bool CTableBlock::Contains(int x, int y) const
{
    return Visible && x - Left >= 0 && x - Left < Width && y - Top >= 0 && y - Top < Height;
}
