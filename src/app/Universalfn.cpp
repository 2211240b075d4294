#include "app/Universalfn.h"

#include <QFileInfo>
#include <QSettings>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/statvfs.h>

QString UpperPL(const QString& text)
{
    static const QString lower = QStringLiteral("ąęśćńźżół");
    static const QString upper = QStringLiteral("ĄĘŚĆŃŹŻÓŁ");
    QString result = text;
    for (QChar& c : result) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z') {
            c = QChar(char16_t(u - u'a' + u'A'));
        } else if (u >= 0x80) {
            const qsizetype at = lower.indexOf(c);
            if (at >= 0)
                c = upper.at(at);
        }
    }
    return result;
}

QString IntToStrZero(int number, int length)
{
    const QString digits = QString::number(number);
    if (digits.size() >= length)
        return digits;
    return QString(length - digits.size(), QLatin1Char('0')) + digits;
}

QString RepeatText(const QString& text, int count)
{
    if (text.isEmpty() || count <= 0)
        return QString();
    return text.repeated(count);
}

int WordCount(const QString& text)
{
    int count = 0;
    bool inWord = false;
    for (const QChar c : text) {
        const bool space = c == QLatin1Char(' ');
        if (!space && !inWord)
            ++count;
        inWord = !space;
    }
    return count;
}

QString ExtendByWord(const QString& prefix, const QString& source)
{
    qsizetype at = qMin(prefix.size(), source.size());
    while (at < source.size() && source.at(at) == QLatin1Char(' '))
        ++at;
    while (at < source.size() && source.at(at) != QLatin1Char(' '))
        ++at;
    return source.left(at);
}

QString LeftCharacters(const QString& text, int count)
{
    qsizetype end = 0;
    for (int taken = 0; taken < count && end < text.size(); ++taken) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                          text.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return end == text.size() ? text : text.left(end);
}

QString DateToText(const QDate& date)
{
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year());
}

QString ToLetterHex(std::uint32_t value, int minDigits)
{
    QString result;
    do {
        result.prepend(QChar(char16_t(u'A' + (value & 0xF))));
        value >>= 4;
    } while (value != 0);
    if (result.size() < minDigits)
        result.prepend(QString(minDigits - result.size(), QLatin1Char('A')));
    return result;
}

bool FileExistsEx(const QString& path)
{
    // A folder cannot be opened as a file: it does not count.
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool DiskSpace(const QString& rootPath, std::uint64_t* total, std::uint64_t* free)
{
    struct statvfs info
    {
    };
    const bool ok =
        !rootPath.isEmpty() && statvfs(QFile::encodeName(rootPath).constData(), &info) == 0;
    const std::uint64_t unit = ok ? std::uint64_t(info.f_frsize) : 0;
    if (total)
        *total = ok ? unit * info.f_blocks : 0;
    if (free)
        *free = ok ? unit * info.f_bavail : 0;
    return ok;
}

namespace {

QRect FromEdges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// Copies one rectangle of source to the same rectangle moved by offset on
// dest, clipped to both images; returns the part of dest written.
QRect CopyRect(QImage& dest, const QImage& source, QRect from, const QPoint& offset)
{
    from = from.intersected(source.rect());
    QRect to = from.translated(offset).intersected(dest.rect());
    from = to.translated(-offset);
    if (to.isEmpty())
        return QRect();
    if (dest.format() == source.format() && dest.depth() % 8 == 0) {
        const int bytesPerPixel = dest.depth() / 8;
        const size_t rowBytes = size_t(to.width()) * bytesPerPixel;
        for (int row = 0; row < to.height(); ++row) {
            const uchar* in = source.constScanLine(from.top() + row) + from.left() * bytesPerPixel;
            uchar* out = dest.scanLine(to.top() + row) + to.left() * bytesPerPixel;
            std::memmove(out, in, rowBytes);
        }
    } else {
        const QImage part = source.copy(from).convertToFormat(dest.format());
        for (int row = 0; row < to.height(); ++row)
            for (int col = 0; col < to.width(); ++col)
                dest.setPixel(to.left() + col, to.top() + row, part.pixel(col, row));
    }
    return to;
}

QRegion CopyRects(QImage& dest, const QImage& source, const QList<QRect>& rects,
                  const QPoint& offset)
{
    QRegion changed;
    for (const QRect& r : rects)
        changed += CopyRect(dest, source, r, offset);
    return changed;
}

} // namespace

QList<QRect> UncoveredRects(int newX, int newY, int oldLeft, int oldTop, int oldRight,
                            int oldBottom)
{
    const int dx = newX - oldLeft;
    const int dy = newY - oldTop;
    const int width = oldRight - oldLeft;
    const int height = oldBottom - oldTop;
    if (std::abs(dx) >= width || std::abs(dy) >= height)
        return {FromEdges(oldLeft, oldTop, oldRight, oldBottom)};

    const QRect horizontal = dy < 0 ? FromEdges(oldLeft, oldBottom + dy, oldRight, oldBottom)
                                    : FromEdges(oldLeft, oldTop, oldRight, newY);
    const int rowsTop = dy < 0 ? oldTop : newY;
    const int rowsBottom = dy < 0 ? oldBottom + dy : oldBottom;
    const QRect vertical = dx < 0 ? FromEdges(oldRight + dx, rowsTop, oldRight, rowsBottom)
                                  : FromEdges(oldLeft, rowsTop, oldLeft + dx, rowsBottom);
    QList<QRect> rects;
    if (dx != 0)
        rects.append(vertical);
    if (dy != 0)
        rects.append(horizontal);
    return rects;
}

QList<QRect> FrameRects(int innerLeft, int innerTop, int innerRight, int innerBottom,
                        const QRect& outer)
{
    const int outerLeft = outer.x();
    const int outerRight = outer.x() + outer.width();
    const int outerBottom = outer.y() + outer.height();
    int top = outer.y();
    int bottom = outerBottom;
    QList<QRect> rects;
    if (top < innerTop) {
        rects.append(FromEdges(outerLeft, top, outerRight, innerTop));
        top = innerTop;
    }
    if (innerBottom < outerBottom) {
        rects.append(FromEdges(outerLeft, innerBottom, outerRight, outerBottom));
        bottom = innerBottom;
    }
    if (top >= bottom)
        return rects;
    if (outerLeft < innerLeft)
        rects.append(FromEdges(outerLeft, top, innerLeft, bottom));
    if (innerRight < outerRight)
        rects.append(FromEdges(innerRight, top, outerRight, bottom));
    return rects;
}

QRegion RestoreUncovered(QImage& dest, const QImage& source, int newX, int newY, int oldLeft,
                         int oldTop, int oldRight, int oldBottom)
{
    return CopyRects(dest, source, UncoveredRects(newX, newY, oldLeft, oldTop, oldRight, oldBottom),
                     QPoint());
}

QRegion RestoreFrame(QImage& dest, int x, int y, int innerLeft, int innerTop, int innerRight,
                     int innerBottom, const QRect& outer, const QImage& source)
{
    return CopyRects(dest, source, FrameRects(innerLeft, innerTop, innerRight, innerBottom, outer),
                     QPoint(x - outer.x(), y - outer.y()));
}

namespace {

QString SettingsKey(const QString& key, const QString& name)
{
    return key.isEmpty() ? name : key + QLatin1Char('/') + name;
}

} // namespace

bool RegWriteText(const QString& key, const QString& name, const QString& value)
{
    QSettings settings(QStringLiteral("Varentis"), QStringLiteral("Loquena.czI"));
    if (!settings.isWritable())
        return false;
    settings.setValue(SettingsKey(key, name), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool RegReadText(const QString& key, const QString& name, QString& out)
{
    out.clear();
    QSettings settings(QStringLiteral("Varentis"), QStringLiteral("Loquena.czI"));
    if (settings.status() != QSettings::NoError)
        return false;
    const QVariant value = settings.value(SettingsKey(key, name));
    if (value.typeId() != QMetaType::QString)
        return false;
    out = value.toString();
    return true;
}

void SeedRandomGenerators()
{
    std::srand(unsigned(std::time(nullptr)));
}

namespace {
// Module initialisation: random draws differ from run to run even before
// start-up runs.
[[maybe_unused]] const bool seeded = (SeedRandomGenerators(), true);
} // namespace
