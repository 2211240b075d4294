#pragma once
#include "graphics/CDynamicPlace.h"

#include <QChar>
#include <QString>
#include <memory>

class QWidget;
class CTransButton;
class CKompPhoto;
class CKompAlphabet;
class CKompTV;
class CWords;
class CGraphTimer;
class CDelayCall;

// The 32 letters of the on-screen alphabet, in order.
extern const QString Alphabet;

// The therapy window's shared component context: the letter skins (as a
// placement table) and the shared objects every exercise and control reaches.
// None of the pointed-to objects is owned; the therapy window fills them in.
class CSharedKomps : public CDynamicPlace
{
public:
    struct SAlphLetter
    {
        QChar Letter;
        std::unique_ptr<QImage> Bitmap;
        std::unique_ptr<QImage> BrightBitmap;
    };

    explicit CSharedKomps(QWidget* form);
    ~CSharedKomps() override;

    QWidget* OwnerForm = nullptr;
    CTransButton* HintButton = nullptr;
    CKompPhoto* Photo = nullptr;
    CKompAlphabet* KompAlphabet = nullptr;
    CKompTV* TV = nullptr;
    QImage* ExerciseBitmap = nullptr;
    QWidget* ExerciseArea = nullptr;
    CWords* Words = nullptr;
    CGraphTimer* GraphTimer = nullptr;
    CDelayCall* DelayCall = nullptr;
    MyArray<SAlphLetter> Letters;

    void LoadLetterBitmaps();
    static int LetterIndex(QChar letter);
    static QString RandomLetters(int n);
};
