#pragma once
#include "content/CWords.h"
#include "exercises/CExercise.h"
#include "graphics/CSharedKomps.h"
#include "graphics/MyArray.h"
#include "patients/CTherapySettings.h"

#include <QChar>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

class CKompLabel;

// Common ground of the exercises in which the patient types a text letter by
// letter on the on-screen alphabet or the keyboard (WP, ZO, PWP): their static
// labels, the alphabet listening while the exercise is shown, the drawing of
// the tasks' items, the check of a typed letter, and, for the exercises that
// speak a prompt, the prompt spoken a moment after an unsolved task is shown.
class CTypingExercise : public CExercise
{
public:
    // The prompt is spoken this long after an unsolved task is shown (ms).
    static constexpr int AnnounceDelayMs = 500;

    // What every typing task knows besides its item.
    struct STypingState
    {
        QString Typed; // the part of the text accepted so far
        bool Solved = false;
        bool HadError = false;
    };

    // The three placement entries of a static label: its place, its text
    // rectangle and its image with mask (1280 and 1024 layouts).
    struct SLabelPlace
    {
        int PlaceMode;
        int Left, Top, Size;
        int RectMode, RectFlags;
        int RectLeft, RectTop, RectRight, RectBottom;
        int Image1280, Mask1280, Image1024, Mask1024;
    };

    bool SelectTask(int index) override;
    void Activate() override;
    void Deactivate() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    // The alphabet's listener while the exercise is active.
    virtual void OnLetter(int index, QChar letter, uint8_t& state) = 0;

    static void ShowText(CKompLabel& label, const QString& text);

    // The line the patient types into: the typed text, with a cursor "_"
    // while the task is open. A right-button press on it once the task is
    // solved speaks the answer.
    std::unique_ptr<CKompLabel> InputLabel;

protected:
    CTypingExercise(CDynamicPlace& placement, CSharedKomps& shared);
    ~CTypingExercise() override;

    struct SLabel
    {
        std::unique_ptr<CKompLabel>* Label;
        SLabelPlace Place;
    };
    // Adds the entries of the exercise's labels to Places, in this order from
    // FirstPlace on, and makes the labels, hidden. They are drawn, hidden and
    // given their colour mode's images with the exercise.
    void MakeLabels(std::initializer_list<SLabel> labels);

    // The tasks of a therapy, one per item DrawTaskItems gives, each with its
    // own copy of the item. An empty draw leaves one empty task: nothing to
    // type, nothing to count.
    template <class TTask, class TItem>
    void MakeTasks(MyArray<TTask>& tasks, TItem TTask::*item, const ExeSet& set, int groupMask,
                   SelectFn<TItem> select, DrawFn<TItem> draw);
    static bool AutoHint(const ExeSet& set) { return set.Flags & CTherapySettings::AutoHintBit; }

    // A letter from the alphabet for the task typing `text`: the next letter
    // of `text` is taken (the dimmed letters come back); any other is dimmed,
    // sounds an error and marks the task's error. False when it was not
    // taken, also when the text is complete.
    bool TakeLetter(STypingState& task, const QString& text, QChar letter, uint8_t& state);
    void EnableHintButton(bool enabled);
    // The hint line shows `text`, at once.
    static void RevealHint(CKompLabel& hintLabel, const QString& text);
    // The task has just been solved: the input line loses its cursor, the
    // alphabet and the hint button go, and the result is counted at once (the
    // answer and the praise that follow are not working time, and the patient
    // may move on while the answer is spoken).
    void CloseTask(STypingState& task);
    // Shows the solved task now, speaks its answer to the end, pauses and
    // praises.
    void PraiseSolved();
    // The alphabet shown with every letter in its normal state, or hidden.
    void ShowAlphabet(bool shown);

    // The current task (null when none), and its answer spoken (waiting for
    // its end or not).
    virtual STypingState* CurrentState() = 0;
    virtual void SpeakAnswer(bool async) = 0;
    // The exercises that speak a prompt (SpeaksPrompt set): the prompt of the
    // current task, spoken without waiting. A task change cuts the sound short
    // and leaving the exercise stops it.
    bool SpeaksPrompt = false;
    virtual void SpeakPrompt() {}
    void AnnounceTask();

    // Drawn after the labels, before the alphabet.
    virtual void DrawPicture() {}

private:
    std::vector<CKompLabel*> m_labels;
};

template <class TTask, class TItem>
void CTypingExercise::MakeTasks(MyArray<TTask>& tasks, TItem TTask::*item, const ExeSet& set,
                                int groupMask, SelectFn<TItem> select, DrawFn<TItem> draw)
{
    tasks.Clear();
    TaskIndex = 0;
    const MyArray<TItem*> drawn = DrawTaskItems(set, groupMask, select, draw);
    tasks.Reserve(drawn.Count());
    for (const TItem* drawnItem : drawn) {
        TTask task;
        task.*item = *drawnItem;
        tasks.Add(task);
    }
    TaskCount = std::max(1, tasks.Count());
}
