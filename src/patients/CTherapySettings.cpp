#include "patients/CTherapySettings.h"

#include "app/CError.h"
#include "platform/CDbDataSet.h"

#include <QString>

namespace {

const ExeSet kDefaults[CTherapySettings::ExerciseCount] = {
    {10, 0, 0x11FF},  // WY: all categories, three choices
    {10, 0, 0x01FF},  // UK: all categories, no auto hint, no extra letters
    {10, 0, 0x01FF},  // WP: all categories, no auto hint
    {10, 0, 0x01FF},  // ZO: all categories, no auto hint
    {10, 0, 0x0001},  // PWP: "Znane" only, no auto hint
    {10, 0, 0x1001},  // PWY: "Znane" only, three choices
    {10, 0, 0x51FF},  // DC: all categories, three choices
    {29, 10, 0xF000}, // WYL: manual paging, all three sequences, in order
    {10, 10, 0x1001}, // PP: "Znane" only, manual paging
    {10, 10, 0x11FF}, // PNO: all categories, manual paging
    {10, 15, 0x51FF}, // PNC: all categories, manual paging, "Co robi?"
};

// Bits of Flags that hold the categories of each exercise (WYL has none);
// the word exercises have a tenth, "Własne", the own words (bit 9).
const int kCategoryBits[CTherapySettings::ExerciseCount] = {
    0x3FF, 0x3FF, 0x3FF, 0x3FF, 0xF, 0xF, 0x1FF, 0, 0xF, 0x3FF, 0x1FF,
};

const char* const kFirstSettingsColumn = "WY_L";
const char* const kChosenColumn = "CwWybrane";
constexpr int kSettingsColumns = 2 * CTherapySettings::ExerciseCount;

bool ValidIndex(int i)
{
    return i >= 0 && i < CTherapySettings::ExerciseCount;
}

} // namespace

int CTherapySettings::CategoryBits(int i)
{
    return ValidIndex(i) ? kCategoryBits[i] : 0;
}

CTherapySettings::CTherapySettings()
{
    Reset();
}

void CTherapySettings::Reset()
{
    for (int i = 0; i < ExerciseCount; ++i)
        m_blocks[i] = kDefaults[i];
    m_selected = 0;
    m_order.Clear();
}

ExeSet& CTherapySettings::Get_ExeSet(int i)
{
    if (!ValidIndex(i))
        throw CError("CTherapySettings::Get_ExeSet - Przekroczony zakres indeksu");
    return m_blocks[i];
}

const ExeSet& CTherapySettings::Get_ExeSet(int i) const
{
    return const_cast<CTherapySettings*>(this)->Get_ExeSet(i);
}

bool CTherapySettings::InOrder(int i) const
{
    for (int chosen : m_order)
        if (chosen == i)
            return true;
    return false;
}

void CTherapySettings::RemoveFromOrder(int i)
{
    MyArray<int> kept;
    for (int chosen : m_order)
        if (chosen != i)
            kept.Add(chosen);
    m_order = std::move(kept);
}

void CTherapySettings::SetSelected(int i, bool on)
{
    if (!ValidIndex(i))
        return;
    if (on) {
        m_selected |= 1 << i;
        if (!InOrder(i))
            m_order.Add(i);
    } else {
        m_selected &= ~(1 << i);
        if (InOrder(i))
            RemoveFromOrder(i);
    }
}

void CTherapySettings::SetSelectedMask(int mask)
{
    m_selected = mask;
    for (int i = 0; i < ExerciseCount; ++i) {
        const bool on = (mask & (1 << i)) != 0;
        if (on && !InOrder(i))
            m_order.Add(i);
        else if (!on && InOrder(i))
            RemoveFromOrder(i);
    }
}

void CTherapySettings::SetChoices(ExeSet& block, int n)
{
    block.Flags &= ~ChoicesMask;
    if (n >= 2 && n <= 4)
        block.Flags |= (n - 2) << ChoicesShift;
}

void CTherapySettings::SetWylSequence(int bit, int cards, bool on)
{
    ExeSet& wyl = m_blocks[WYL];
    if (((wyl.Flags & bit) != 0) == on)
        return;
    if (on) {
        wyl.Flags |= bit;
        wyl.LZ += cards;
    } else {
        wyl.Flags &= ~bit;
        wyl.LZ -= cards;
    }
}

void CTherapySettings::SetWylDays(bool on)
{
    SetWylSequence(WylDaysBit, 7, on);
}

void CTherapySettings::SetWylMonths(bool on)
{
    SetWylSequence(WylMonthsBit, 12, on);
}

void CTherapySettings::SetWylDigits(bool on)
{
    SetWylSequence(WylDigitsBit, 10, on);
}

void CTherapySettings::Save(CDbDataSet& dataset) const
{
    QString letters;
    for (int chosen : m_order)
        letters += QChar(char16_t(u'A' + chosen));
    const int k = dataset.FieldIndex(kFirstSettingsColumn);
    if (k < 0 || dataset.FieldCount() - k < kSettingsColumns)
        throw CError("CTherapySettings::Save - Brak kolumn ustawień (WY_L i 21 następnych)");
    dataset.Edit();
    dataset.FieldByName(kChosenColumn).SetString(letters);
    for (int i = 0; i < ExerciseCount; ++i) {
        const ExeSet& block = m_blocks[i];
        const quint32 packed = (quint32(block.LZ) & 0xFFFFu) | (quint32(block.AutoTime) << 16);
        dataset.Fields(k + 2 * i).SetInteger(qint32(packed));
        dataset.Fields(k + 2 * i + 1).SetInteger(block.Flags);
    }
    dataset.Post();
}

void CTherapySettings::Load(CDbDataSet& fields)
{
    Reset();
    const QString letters = fields.FieldByName(kChosenColumn).AsString();
    for (const QChar letter : letters) {
        const char16_t c = letter.toLower().unicode();
        if (c >= u'a' && c <= u'k')
            SetSelected(c - u'a', true);
    }
    const int k = fields.FieldIndex(kFirstSettingsColumn);
    if (k >= 0 && fields.FieldCount() - k >= kSettingsColumns) {
        for (int i = 0; i < ExerciseCount; ++i) {
            const quint32 packed = quint32(fields.Fields(k + 2 * i).AsInteger());
            m_blocks[i].LZ = int(packed & 0xFFFFu);
            m_blocks[i].AutoTime = int(packed >> 16);
            m_blocks[i].Flags = fields.Fields(k + 2 * i + 1).AsInteger();
        }
    }
    FixCounts();
}

void CTherapySettings::FixCounts()
{
    for (int i = 0; i < ExerciseCount; ++i) {
        ExeSet& block = m_blocks[i];
        if (block.LZ == 0 && (block.Flags & kCategoryBits[i]) != 0)
            block.LZ = 1;
    }
}
