#pragma once
#include <QString>

// The name of an own word: capitals of the 32-letter alphabet, as every
// word's name, no longer than the letter table holds.
namespace OwnWordName {

// The most letters a name may have: the letter board of arranging and typing
// holds no more.
constexpr int MaxLength = 16;

// The name as it is stored: blanks at both ends removed, letters raised.
QString Normalize(const QString& typed);
// Why a normalized name cannot be used; empty when it can.
QString Problem(const QString& name);

} // namespace OwnWordName
