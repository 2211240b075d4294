#pragma once
#include "graphics/MyArray.h"

class CDbDataSet;

// The settings of one exercise: number of tasks, paging interval in seconds
// (paging exercises only) and the category and option bits.
struct ExeSet
{
    int LZ = 0;
    int AutoTime = 0;
    int Flags = 0;
};

// One patient's therapy plan: which exercises a therapy runs, in which order,
// and how each is set. Exercise indices: 0 WY, 1 UK, 2 WP, 3 ZO, 4 PWP, 5 PWY,
// 6 DC, 7 WYL, 8 PP, 9 PNO, 10 PNC.
//
// Stored in the patient's row: CwWybrane holds one letter per chosen exercise
// in order ("A" + index), and the 22 integer columns from WY_L hold, for each
// exercise, (LZ & 0xFFFF) | (AutoTime << 16) and then Flags.
class CTherapySettings
{
public:
    static constexpr int ExerciseCount = 11;
    enum EExercise
    {
        WY,
        UK,
        WP,
        ZO,
        PWP,
        PWY,
        DC,
        WYL,
        PP,
        PNO,
        PNC
    };

    // Option bits of Flags.
    static constexpr int ChoicesShift = 12;        // WY, PWY, DC: choices - 2 in bits 12-13
    static constexpr int ChoicesMask = 0x3000;     //
    static constexpr int AutoHintBit = 0x1000;     // UK, WP, ZO, PWP
    static constexpr int ExtraLettersBit = 0x2000; // UK
    static constexpr int ManualPagingBit = 0x1000; // WYL, PP, PNO, PNC
    static constexpr int WylDaysBit = 0x2000;      // 7 cards
    static constexpr int WylMonthsBit = 0x4000;    // 12 cards
    static constexpr int WylDigitsBit = 0x8000;    // 10 cards
    static constexpr int WylRandomBit = 0x10000;
    static constexpr int ActionWhatDoesBit = 0x4000; // in PNC's block, shared with DC

    CTherapySettings();

    void Reset();

    // The block of exercise i; throws CError for i outside 0..10.
    ExeSet& Get_ExeSet(int i);
    const ExeSet& Get_ExeSet(int i) const;

    int Selected() const { return m_selected; }
    // The chosen exercises in the order they were chosen.
    const MyArray<int>& Order() const { return m_order; }
    void SetSelected(int i, bool on);
    // Indices already chosen keep their places; newly chosen ones are appended
    // in index order.
    void SetSelectedMask(int mask);
    int SelectedCount() const { return m_order.Count(); }

    // The bits of Flags that hold exercise i's categories: with none of them
    // set the exercise has nothing to draw from.
    static int CategoryBits(int i);

    // n from 2 to 4 choices; any other n means two.
    static void SetChoices(ExeSet& block, int n);
    // Each sequence of the automated word sequences adds its cards to WYL's LZ.
    void SetWylDays(bool on);
    void SetWylMonths(bool on);
    void SetWylDigits(bool on);

    // Writes into the current row of the patient table (edit, write, post).
    // When the data set is already being edited or appended, the settings join
    // that change and are posted with it.
    void Save(CDbDataSet& dataset) const;
    // Reads from the current row; the defaults stand where the row holds none.
    void Load(CDbDataSet& fields);
    void FixCounts();

private:
    void SetWylSequence(int bit, int cards, bool on);
    bool InOrder(int i) const;
    void RemoveFromOrder(int i);

    ExeSet m_blocks[ExerciseCount];
    int m_selected = 0;
    MyArray<int> m_order;
};
