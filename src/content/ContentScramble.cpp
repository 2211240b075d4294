#include "content/ContentScramble.h"

#include <QDateTime>
#include <QFile>
#include <algorithm>

uint32_t WvKey(uint64_t size)
{
    const uint32_t s = static_cast<uint32_t>(size);
    return s ^ (s << 13) ^ ContentKey;
}

namespace {

// XOR of the bytes with a 32-bit key laid out little-endian, so that whole
// words get exactly the key and a short tail gets its first bytes.
void XorWithKey(char* data, qsizetype size, uint32_t key)
{
    for (qsizetype i = 0; i < size; ++i)
        data[i] = static_cast<char>(static_cast<uint8_t>(data[i]) ^
                                    static_cast<uint8_t>(key >> (8 * (i % 4))));
}

// Applies the film form when the first byte's test says so, and stamps the
// fixed file date whatever the test gave.
bool TransformFilmFile(const QString& path, bool wantPlainFirstByteZero)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return false;
    QByteArray head = file.read(FilmScrambledBytes);
    if (head.isNull() && file.error() != QFileDevice::NoError)
        return false;
    const bool firstIsZero = !head.isEmpty() && head.at(0) == 0;
    // Unscrambling acts on a scrambled file (first byte not zero), scrambling
    // on a plain one (first byte zero).
    const bool act = !head.isEmpty() && (wantPlainFirstByteZero ? !firstIsZero : firstIsZero);
    if (act) {
        XorFilmBytes(head.data(), head.size());
        if (!file.seek(0) || file.write(head) != head.size())
            return false;
        if (!file.flush())
            return false;
    }
    const QDateTime stamp(QDate(2005, 9, 7), QTime(15, 15, 0));
    file.setFileTime(stamp, QFileDevice::FileModificationTime);
    file.close();
    return true;
}

} // namespace

void XorWvHeader(char* data, qsizetype size)
{
    if (size < WvScrambledBytes)
        return;
    XorWithKey(data, WvScrambledBytes, WvKey(static_cast<uint64_t>(size)));
}

QByteArray ScrambleWv(QByteArray wave)
{
    XorWvHeader(wave.data(), wave.size());
    return wave;
}

QByteArray UnscrambleWv(QByteArray wv)
{
    return ScrambleWv(std::move(wv));
}

void XorFilmBytes(char* data, qsizetype size)
{
    XorWithKey(data, std::min<qsizetype>(size, FilmScrambledBytes), FilmKey);
}

bool UnscrambleFilmFile(const QString& path)
{
    return TransformFilmFile(path, true);
}

bool ScrambleFilmFile(const QString& path)
{
    return TransformFilmFile(path, false);
}
