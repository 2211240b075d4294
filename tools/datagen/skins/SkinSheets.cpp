#include "SkinSheets.h"

#include "SkinArt.h"

#include <QPainter>
#include <algorithm>

std::map<SkinFile, SkinImageSet> PaintAllSkins()
{
    std::map<SkinFile, SkinImageSet> all;
    for (const SkinItem& it : SkinMap()) {
        const SkinImages made = it.paint();
        SkinImageSet& set = all[it.file];
        if (it.image >= 0)
            set[it.image] = made.image;
        if (it.mono >= 0)
            set[it.mono] = made.mono;
        if (it.ownsMask)
            set[it.mask] = made.mask;
    }
    return all;
}

namespace {
bool OnSheet(SkinMode mode, bool big)
{
    switch (mode) {
    case SkinMode::Only1280:
        return big;
    case SkinMode::Only1024:
    case SkinMode::Scaled1024:
        return !big;
    case SkinMode::Only1280And1024:
    case SkinMode::AllModes:
        return true;
    }
    return false;
}

QImage Compose(const QImage& image, const QImage& mask, const QColor& back)
{
    QImage out(image.size(), QImage::Format_RGB32);
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        const uchar* m = mask.isNull() ? nullptr : mask.constScanLine(y);
        QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int a = m ? m[x] : 255;
            auto mix = [a](int b, int i) { return b + (i - b) * a / 255; };
            d[x] = qRgb(mix(back.red(), qRed(s[x])), mix(back.green(), qGreen(s[x])),
                        mix(back.blue(), qBlue(s[x])));
        }
    }
    return out;
}
} // namespace

QImage ContactSheet(SkinFile file, bool big, const SkinImageSet& images)
{
    const int sheetW = 1900, maxW = 440, maxH = 330, pad = 14, caption = 34;
    const QColor back(150, 172, 196);
    struct Tile
    {
        QImage colour, grey;
        QString text;
    };
    std::vector<Tile> tiles;
    for (const SkinItem& it : SkinMap()) {
        if (it.file != file || !OnSheet(it.mode, big))
            continue;
        auto find = [&](int idx) {
            return idx >= 0 && images.count(idx) ? images.at(idx) : QImage();
        };
        QImage img = find(it.image), mask = find(it.mask), mono = find(it.mono);
        if (img.isNull() && !mask.isNull()) // a mask on its own
            img = mask.convertToFormat(QImage::Format_BGR888), mask = QImage();
        if (img.isNull())
            continue;
        Tile t;
        t.colour = Compose(img, mask, back);
        t.grey = Compose(mono.isNull() ? SkinArt::ToGrey(img) : mono, mask, QColor(160, 160, 160));
        QString idx = QString::number(it.image >= 0 ? it.image : it.mask);
        if (it.mono >= 0)
            idx += QString("/%1").arg(it.mono);
        if (it.mask >= 0 && it.image >= 0)
            idx += QString(" m%1").arg(it.mask);
        t.text = QString("#%1  %2x%3  %4")
                     .arg(idx)
                     .arg(it.size.width())
                     .arg(it.size.height())
                     .arg(it.shows);
        tiles.push_back(t);
    }
    // Flow layout: colour and grey side by side, scaled down to fit a tile.
    std::vector<QRect> places;
    int x = pad, y = pad, rowH = 0;
    std::vector<QSize> thumbs;
    for (const Tile& t : tiles) {
        QSize s = t.colour.size();
        if (s.width() > maxW / 2 || s.height() > maxH)
            s.scale(maxW / 2, maxH, Qt::KeepAspectRatio);
        thumbs.push_back(s);
        const int w = std::max(2 * s.width() + 8, 200), h = s.height() + caption;
        if (x + w > sheetW - pad) {
            x = pad;
            y += rowH + pad;
            rowH = 0;
        }
        places.push_back(QRect(x, y, w, h));
        x += w + pad;
        rowH = std::max(rowH, h);
    }
    QImage sheet(sheetW, y + rowH + pad, QImage::Format_RGB32);
    sheet.fill(QColor(60, 66, 76));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setFont(SkinArt::Font(12, false));
    for (size_t i = 0; i < tiles.size(); ++i) {
        const QRect r = places[i];
        const QSize s = thumbs[i];
        p.drawImage(QRect(r.topLeft(), s), tiles[i].colour);
        p.drawImage(QRect(r.topLeft() + QPoint(s.width() + 8, 0), s), tiles[i].grey);
        p.setPen(Qt::white);
        p.drawText(QRect(r.left(), r.top() + s.height() + 2, r.width(), caption - 2),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, tiles[i].text);
    }
    return sheet;
}
