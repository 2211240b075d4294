#pragma once
#include <QDate>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <cstdint>

// Small helpers shared by every part of the program.

// Upper case for Polish text: a-z and the nine Polish lower-case letters are
// raised, every other character is kept as it is. Same length as the input.
QString UpperPL(const QString& text);

// Decimal text of number, filled on the left with "0" to at least length
// characters; the zeros go before a minus sign ("00-5").
QString IntToStrZero(int number, int length);

// text repeated count times; empty for an empty text or count <= 0.
QString RepeatText(const QString& text, int count);

// Number of runs of characters other than the space (only the space separates).
int WordCount(const QString& text);

// prefix is a prefix of source: returns source up to the end of the word that
// follows prefix (spaces after prefix are skipped, the word ends at the next
// space or the end of source).
QString ExtendByWord(const QString& prefix, const QString& source);

// The first count characters of text, counted as the user sees them (code
// points): a character outside the basic plane is never split. text itself
// when it is no longer.
QString LeftCharacters(const QString& text, int count);

// "dd.mm.yyyy": day and month with two digits, the year with all its digits.
QString DateToText(const QDate& date);

// value in base 16 with the digits "A" (0) to "P" (15), most significant
// first, at least minDigits digits and at least one.
QString ToLetterHex(std::uint32_t value, int minDigits);

// True when path names an existing file (a folder is not one).
bool FileExistsEx(const QString& path);

// Size and free space, in bytes, of the file system that holds rootPath.
// On failure both are 0 and the result is false. Either pointer may be null.
bool DiskSpace(const QString& rootPath, std::uint64_t* total, std::uint64_t* free);

// Rectangles here are left, top, right, bottom with right and bottom
// exclusive, as the callers keep them.

// An element of unchanged size moves from the old rectangle to the new
// top-left (newX, newY): copies from source to dest, at the same coordinates,
// the part of the old rectangle that the new one no longer covers. Returns
// the area of dest that changed, so that a widget drawing from dest as its
// back-buffer can update just that.
QRegion RestoreUncovered(QImage& dest, const QImage& source, int newX, int newY, int oldLeft,
                         int oldTop, int oldRight, int oldBottom);

// Copies from source to dest the ring of outer that lies outside the inner
// rectangle, moved so that outer's top-left lands on (x, y) in dest. outer is
// a QRect (its right edge is x() + width()). Returns the area of dest that
// changed.
QRegion RestoreFrame(QImage& dest, int x, int y, int innerLeft, int innerTop, int innerRight,
                     int innerBottom, const QRect& outer, const QImage& source);

// The rectangles (of the source, in copy order) that the two routines above
// copy; dest gets each moved by the returned offset. Shared with painters that
// draw on something other than a QImage.
QList<QRect> UncoveredRects(int newX, int newY, int oldLeft, int oldTop, int oldRight,
                            int oldBottom);
QList<QRect> FrameRects(int innerLeft, int innerTop, int innerRight, int innerBottom,
                        const QRect& outer);

// The program's one persistent value outside its databases lives here:
// organisation "Varentis", application "Loquena.czI". key is a group path
// ("" for the top). Writing returns whether the value was stored; reading
// fails, with out = "", when the value is missing or is not a text.
bool RegWriteText(const QString& key, const QString& name, const QString& value);
bool RegReadText(const QString& key, const QString& name, QString& out);

// Seeds the C runtime's random generator from the clock. Runs once when the
// program starts; start-up calls it again before any window exists.
void SeedRandomGenerators();
