#include "graphics/CSharedKomps.h"

#include "app/DisplayMode.h"
#include "app/Universalfn.h"
#include "graphics/BitmapTools.h"

#include <QRandomGenerator>

const QString Alphabet = QStringLiteral("AĄBCĆDEĘFGHIJKLŁMNŃOÓPRSŚTUWYZŹŻ");

CSharedKomps::CSharedKomps(QWidget* form) : OwnerForm(form)
{
    for (int i = 0; i < Alphabet.size(); ++i) {
        Add(PT_BITMAP, 0);
        SetBitmap(DM_1280, 272 + i, -1, -1);
        SetBitmap(DM_1024, 240 + i, -1, -1);
        Letters.Add(SAlphLetter{Alphabet[i], nullptr, nullptr});
    }
}

CSharedKomps::~CSharedKomps() = default;

void CSharedKomps::LoadLetterBitmaps()
{
    Set_iCurrent(1);
    for (SAlphLetter& letter : Letters) {
        letter.Bitmap = SuitableBitmap(CurrentDP(), false, 0, 0);
        Next();
        if (!letter.BrightBitmap)
            letter.BrightBitmap = std::make_unique<QImage>();
        *letter.BrightBitmap = letter.Bitmap->copy();
        Make24(*letter.BrightBitmap);
        Brighten(*letter.BrightBitmap, 40);
    }
}

int CSharedKomps::LetterIndex(QChar letter)
{
    // Only the Polish letters are raised: a full Unicode upper case would make
    // letters of the alphabet of "ı" or "ſ".
    return static_cast<int>(Alphabet.indexOf(UpperPL(QString(letter)).at(0)));
}

QString CSharedKomps::RandomLetters(int n)
{
    QString result;
    result.reserve(std::max(0, n));
    for (int i = 0; i < n; ++i)
        result.append(
            Alphabet[QRandomGenerator::global()->bounded(static_cast<int>(Alphabet.size()))]);
    return result;
}
