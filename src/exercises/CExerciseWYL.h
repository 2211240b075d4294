#pragma once
#include "exercises/CRepetitionExercise.h"
#include "graphics/MyArray.h"

#include <QPoint>
#include <cstdint>
#include <memory>

class QObject;

// Exercise WYL, "Zautomatyzowane ciągi słowne": the days of the week, the
// months and the digits as picture cards (three side by side for a digit),
// each element spoken 0.3 s after it is shown. In the series' order or
// shuffled; paged by hand or by the graph timer.
class CExerciseWYL : public CRepetitionExercise
{
public:
    enum ESeries : uint8_t
    {
        Day,
        Month,
        Digit
    };
    struct SWYLTask
    {
        uint8_t Series = Day;
        int Element = 0; // 0-based in its series
    };
    static constexpr int AnnounceDelayMs = 300;

    CExerciseWYL(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExerciseWYL() override;

    bool SelectTask(int index) override;
    void ShowTask() override;
    void Activate() override;
    void Deactivate() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void DrawTask() override;

    MyArray<SWYLTask> Tasks;
    int DayGroup = 0;
    int MonthGroup = 0;
    int DigitGroupA = 0;
    int DigitGroupB = 0;
    int DigitGroupC = 0;
    std::unique_ptr<QImage> DayMask;
    std::unique_ptr<QImage> MonthMask;
    std::unique_ptr<QImage> DigitMask;
    std::unique_ptr<QImage> Face;
    std::unique_ptr<QImage> FaceB;
    std::unique_ptr<QImage> FaceC;
    QPoint DayPos;
    QPoint MonthPos;
    QPoint DigitPosA;
    QPoint DigitPosB;
    QPoint DigitPosC;

    // The sound of an element, without ".wv".
    static QString ElementSound(const SWYLTask& task);
    void SpeakElement();

private:
    const SWYLTask* CurrentTask() const;
    std::unique_ptr<QImage> LoadPicture(int position, bool mask);
    void AnnounceTask();

    // Right button on the exercise area, while active.
    std::unique_ptr<QObject> m_rightClick;
};
