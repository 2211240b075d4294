#pragma once
#include <QImage>
#include <cstdint>
#include <memory>

// An image with an 8-bit transparency mask (0 = background, 255 = image) and
// the last composite of the two over some background.
class CTransBitmap
{
public:
    CTransBitmap() = default;
    ~CTransBitmap() = default;
    CTransBitmap(const CTransBitmap&) = delete;
    CTransBitmap& operator=(const CTransBitmap&) = delete;

    void SetImage(std::unique_ptr<QImage> bitmap);
    void SetMask(std::unique_ptr<QImage> bitmap);
    void Assign(const CTransBitmap& other);
    void MoveFrom(CTransBitmap& other);
    void Release();
    QImage* EnsureComposite(int width, int height);
    // The composite becomes image blended with mask over the area of background
    // whose top-left corner is (x, y). Nothing happens when one is missing.
    void Compose(const QImage* image, const QImage* mask, int alpha, const QImage* background,
                 int x, int y);
    void ComposeOnColor(uint32_t colour, int alpha);
    // Composes over the canvas area under the image (canvas at (x, y)).
    void BlendFromCanvas(const QImage& canvas, int x, int y, int alpha);
    void Draw(QImage& canvas, int x, int y, int alpha, bool freeComposite);
    std::unique_ptr<QImage> TakeComposite();

    QImage* Image() const { return m_image.get(); }
    QImage* Mask() const { return m_mask.get(); }
    QImage* Composite() const { return m_composite.get(); }

private:
    void FitMaskToImage();

    std::unique_ptr<QImage> m_composite;
    std::unique_ptr<QImage> m_image;
    std::unique_ptr<QImage> m_mask;
};
