#pragma once
#include "SkinArt.h"

#include <QStringList>

// The whole pictures of the skins: window backgrounds, the bookmark strip,
// the menu strip, frames, tiles and cards. Sizes come from the index map.
enum class CardKind
{
    Word,
    Numeral,
    Dots
};

QImage MenuStrip(QSize size, double scale);
SkinArt::ImagePair ComboBox(QSize size, SkinArt::Look look);
SkinArt::ImagePair MenuEdge(QSize size, bool top);
QImage MenuItemBack(QSize size, bool highlighted);
SkinArt::ImagePair TextPicture(QSize size, const QString& text, const QColor& ink);
SkinArt::ImagePair PhotoFrame(QSize frame, QSize photo);
QImage PhotoMask(QSize size);
QImage Placeholder(QSize size);
SkinArt::ImagePair TimerPicture(QSize size);
SkinArt::ImagePair DimOverlay(QSize size);
QImage LetterTile(QSize size, const QString& letter);
SkinArt::ImagePair SequenceCard(QSize size, CardKind kind, const QString& text, int number,
                                const QColor& band);
SkinArt::ImagePair TickMark(QSize size);
QImage MainBackground(double scale);
QImage HelpBackground(double scale);
QImage InfoBackground(double scale);
QImage BookmarkStrip(bool big, int raised, const QStringList& titles);
QImage FrameSource(QSize size);
SkinArt::ImagePair WaitPicture(QSize size);
