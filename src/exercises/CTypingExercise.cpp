#include "exercises/CTypingExercise.h"

#include "app/DisplayMode.h"
#include "content/ContentSound.h"
#include "controls/CKompAlphabet.h"
#include "controls/CKompLabel.h"
#include "graphics/CTransButton.h"

#include <QWidget>

CTypingExercise::CTypingExercise(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
}

CTypingExercise::~CTypingExercise() = default;

void CTypingExercise::MakeLabels(std::initializer_list<SLabel> labels)
{
    for (const SLabel& l : labels) {
        const SLabelPlace& e = l.Place;
        Places.Add(PT_PLACE, 0);
        Places.SetPlace(e.PlaceMode, e.Left, e.Top, 0, 0, e.Size);
        Places.Add(PT_RECT, e.RectFlags);
        Places.SetRect(e.RectMode, e.RectLeft, e.RectTop, e.RectRight, e.RectBottom, -1);
        Places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        Places.SetBitmap(DM_1280, e.Image1280, -1, e.Mask1280);
        Places.SetBitmap(DM_1024, e.Image1024, -1, e.Mask1024);
    }
    const int offX = PaintBox ? PaintBox->x() : 0;
    const int offY = PaintBox ? PaintBox->y() : 0;
    Places.Set_iCurrent(FirstPlace);
    for (const SLabel& l : labels) {
        auto& label = *l.Label;
        label = std::make_unique<CKompLabel>(Shared->OwnerForm, Bitmap, Bitmap);
        label->Place(Places, offX, offY);
        label->hide();
        m_labels.push_back(label.get());
    }
    if (InputLabel)
        InputLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
            if (const STypingState* task = CurrentState();
                task && task->Solved && button == Qt::RightButton)
                SpeakAnswer(true);
        };
}

void CTypingExercise::ShowText(CKompLabel& label, const QString& text)
{
    label.Text = text;
    label.AlignText();
}

void CTypingExercise::EnableHintButton(bool enabled)
{
    if (Shared->HintButton)
        Shared->HintButton->SetEnabled(enabled, true);
}

void CTypingExercise::RevealHint(CKompLabel& hintLabel, const QString& text)
{
    ShowText(hintLabel, text);
    if (hintLabel.isHidden())
        hintLabel.show();
    hintLabel.Repaint();
}

void CTypingExercise::CloseTask(STypingState& task)
{
    InputLabel->Cursor = false;
    InputLabel->Repaint();
    ShowAlphabet(false);
    task.Solved = true;
    EnableHintButton(false);
    StopTiming();
    CountSolved(task.HadError);
}

void CTypingExercise::PraiseSolved()
{
    Paint();
    ShowNow();
    SpeakAnswer(false);
    PraisePause();
    PlayPraise(true);
}

void CTypingExercise::ShowAlphabet(bool shown)
{
    CKompAlphabet* alphabet = Shared->KompAlphabet;
    if (!alphabet)
        return;
    if (shown) {
        alphabet->SetAllStates(CKompAlphabet::StateNormal);
        alphabet->show();
    } else {
        alphabet->hide();
    }
}

bool CTypingExercise::TakeLetter(STypingState& task, const QString& text, QChar letter,
                                 uint8_t& state)
{
    if (task.Typed.size() >= text.size())
        return false;
    if (letter != text[task.Typed.size()]) {
        state = CKompAlphabet::StateRuledOut;
        PlayErrorSound(true);
        task.HadError = true;
        return false;
    }
    state = CKompAlphabet::StateNormal;
    if (Shared->KompAlphabet)
        Shared->KompAlphabet->SetAllStates(CKompAlphabet::StateNormal);
    task.Typed += letter;
    return true;
}

void CTypingExercise::AnnounceTask()
{
    Announce(AnnounceDelayMs, [this] {
        if (const STypingState* task = CurrentState(); task && !task->Solved)
            SpeakPrompt();
    });
}

bool CTypingExercise::SelectTask(int index)
{
    if (!CExercise::SelectTask(index))
        return false;
    if (SpeaksPrompt) {
        StopContentSound();
        if (Active)
            AnnounceTask();
    }
    return true;
}

void CTypingExercise::Activate()
{
    Active = true;
    if (CKompAlphabet* alphabet = Shared->KompAlphabet)
        alphabet->OnLetter = [this](int index, QChar letter, uint8_t& state) {
            OnLetter(index, letter, state);
        };
    ShowTask();
    DrawTask();
    if (SpeaksPrompt)
        AnnounceTask();
}

void CTypingExercise::Deactivate()
{
    CExercise::Deactivate();
    if (CKompAlphabet* alphabet = Shared->KompAlphabet) {
        alphabet->hide();
        alphabet->OnLetter = nullptr;
    }
    for (CKompLabel* label : m_labels)
        label->hide();
    if (SpeaksPrompt)
        StopContentSound();
}

void CTypingExercise::DrawTask()
{
    CExercise::DrawTask();
    for (CKompLabel* label : m_labels)
        label->Draw();
    DrawPicture();
    if (Shared->KompAlphabet)
        Shared->KompAlphabet->Draw();
}

void CTypingExercise::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    // The label skins change with the colour mode as the background does.
    Places.Set_iCurrent(FirstPlace);
    for (CKompLabel* label : m_labels)
        label->LoadImages(Places);
}
