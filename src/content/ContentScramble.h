#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

// The two scrambled forms in which the material's media files are stored.
//
// Sounds (".wv"): a WAVE file whose first ten little-endian 32-bit words are
// XOR-ed with a key made from the file's size and ContentKey. The operation is
// its own inverse, so ScrambleWv and UnscrambleWv do the same thing; both are
// kept so that callers say what they mean. An image shorter than 40 bytes is
// invalid and is returned unchanged.
//
// Films (".mpg"): the first 200000 bytes XOR-ed with FilmKey, byte i with byte
// (i mod 4) of the key in little-endian order (that is, word by word). A plain
// MPEG file starts with a zero byte, a scrambled one does not. A shorter file
// is XOR-ed over its own length only; nothing is ever written past its end.

constexpr uint32_t ContentKey = 0x5A3C96E1u;
constexpr uint32_t FilmKey = 0x7E31C4A9u;
constexpr int WvScrambledBytes = 40;
constexpr int FilmScrambledBytes = 200000;

// The key of a ".wv" file of `size` bytes (only the low 32 bits count).
uint32_t WvKey(uint64_t size);
// XORs the first 40 bytes of data[0..size) in place; does nothing below 40 bytes.
void XorWvHeader(char* data, qsizetype size);
QByteArray ScrambleWv(QByteArray wave);
QByteArray UnscrambleWv(QByteArray wv);

// In-place film forms. Unscrambling changes a file whose first byte is not
// zero, scrambling one whose first byte is zero; either way the file's
// modification time is set to 7 September 2005, 15:15:00 (local time).
// False when the file cannot be opened, read or written.
bool UnscrambleFilmFile(const QString& path);
bool ScrambleFilmFile(const QString& path);
// XORs up to the first 200000 bytes of a buffer with FilmKey.
void XorFilmBytes(char* data, qsizetype size);
