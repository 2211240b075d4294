#include "graphics/CTransBitmap.h"

#include "graphics/BitmapTools.h"
#include "graphics/BlendKernels.h"

#include <QPainter>
#include <algorithm>

namespace {
std::unique_ptr<QImage> CopyOf(const QImage* img)
{
    return img ? std::make_unique<QImage>(img->copy()) : nullptr;
}
} // namespace

void CTransBitmap::FitMaskToImage()
{
    if (!m_image || !m_mask || m_image->size() == m_mask->size())
        return;
    QImage fitted(m_image->size(), QImage::Format_Grayscale8);
    fitted.fill(0);
    QPainter p(&fitted);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, *m_mask);
    p.end();
    *m_mask = std::move(fitted);
}

void CTransBitmap::SetImage(std::unique_ptr<QImage> bitmap)
{
    m_image = std::move(bitmap);
    if (m_image)
        Make24(*m_image);
    FitMaskToImage();
}

void CTransBitmap::SetMask(std::unique_ptr<QImage> bitmap)
{
    m_mask = std::move(bitmap);
    if (m_mask && m_mask->format() != QImage::Format_Grayscale8)
        ToGrey8(*m_mask, false);
    FitMaskToImage();
}

void CTransBitmap::Assign(const CTransBitmap& other)
{
    if (&other == this)
        return;
    m_composite.reset();
    m_image = CopyOf(other.m_image.get());
    m_mask = CopyOf(other.m_mask.get());
}

void CTransBitmap::MoveFrom(CTransBitmap& other)
{
    if (&other == this)
        return;
    m_image = std::move(other.m_image);
    m_mask = std::move(other.m_mask);
}

void CTransBitmap::Release()
{
    m_composite.reset();
    m_image.reset();
    m_mask.reset();
}

QImage* CTransBitmap::EnsureComposite(int width, int height)
{
    if (!m_composite)
        m_composite = std::make_unique<QImage>(NewBitmap24(width, height));
    else if (m_composite->width() != width || m_composite->height() != height)
        Resize24(*m_composite, width, height);
    return m_composite.get();
}

void CTransBitmap::Compose(const QImage* image, const QImage* mask, int alpha,
                           const QImage* background, int x, int y)
{
    if (!background || !image || !mask || image->isNull() || mask->isNull())
        return;
    const int bb = PixelBytes(*background);
    const int ib = PixelBytes(*image);
    const int mb = MaskBytes(*mask);
    if (!bb || !ib || !mb || mask->width() < image->width() || mask->height() < image->height())
        return;
    QImage* comp = EnsureComposite(image->width(), image->height());
    const int c0 = std::max(0, -x);
    const int r0 = std::max(0, -y);
    const int c1 = std::min(image->width(), background->width() - x);
    const int r1 = std::min(image->height(), background->height() - y);
    if (c1 <= c0 || r1 <= r0)
        return;
    auto plane = [](const QImage& img, int px, int py, int bpp) {
        return SPlane{const_cast<uchar*>(img.constScanLine(py)) + static_cast<qsizetype>(px) * bpp,
                      img.bytesPerLine(), bpp};
    };
    BlendArea(SPlane{comp->scanLine(r0) + static_cast<qsizetype>(c0) * 3, comp->bytesPerLine(), 3},
              plane(*background, x + c0, y + r0, bb), plane(*image, c0, r0, ib),
              plane(*mask, c0, r0, mb), c1 - c0, r1 - r0, alpha);
}

void CTransBitmap::ComposeOnColor(uint32_t colour, int alpha)
{
    if (!m_image || !m_mask)
        return;
    QImage* comp = EnsureComposite(m_image->width(), m_image->height());
    BlendOnColor(*comp, 0, 0, alpha, colour, *m_mask, *m_image);
}

void CTransBitmap::BlendFromCanvas(const QImage& canvas, int x, int y, int alpha)
{
    if (!m_image)
        return;
    QImage under(m_image->size(), QImage::Format_RGB32);
    under.fill(Qt::black);
    {
        QPainter p(&under);
        p.drawImage(QPoint(0, 0), canvas, QRect(x, y, m_image->width(), m_image->height()));
    }
    Compose(m_image.get(), m_mask.get(), alpha, &under, 0, 0);
}

void CTransBitmap::Draw(QImage& canvas, int x, int y, int alpha, bool freeComposite)
{
    BlendFromCanvas(canvas, x, y, alpha);
    if (m_composite) {
        QPainter p(&canvas);
        p.drawImage(x, y, *m_composite);
    }
    if (freeComposite)
        m_composite.reset();
}

std::unique_ptr<QImage> CTransBitmap::TakeComposite()
{
    if (!m_composite)
        return std::make_unique<QImage>(QImage(0, 0, QImage::Format_BGR888));
    return std::move(m_composite);
}
