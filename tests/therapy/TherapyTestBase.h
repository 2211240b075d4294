#pragma once
// A therapy window over the small program folder of TherapyFixture.h, with a
// test patient and the result window; the current folder is the fixture's
// while a test runs.
#include "app/DisplayMode.h"
#include "exercises/CExercise.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CTransButton.h"
#include "patients/CPatient.h"
#include "statistics/CStatistics.h"
#include "statistics/TFormStat.h"
#include "therapy/TFormTherapy.h"
#include "therapy/TherapyFixture.h"

#include <QDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class TherapyTestBase : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { SetDisplayModeFor(1280, 1024); }

    void SetUp() override
    {
        SetDisplayModeFor(1280, 1024);
        ColorMode = CM_COLOR;
        CExercise::PraisePauseMs = 0;
        previous = QDir::currentPath();
        ASSERT_TRUE(therapy_fixture::WriteProgramFolder(dir.path()));
        QDir::setCurrent(dir.path());
        ASSERT_TRUE(patient.Open("pacmem.qp"));
        patient.Add();
        patient.SetName("Jan Testowy");
        ASSERT_EQ(windows.Open("Data/grwin.bc", false), 0);
        ASSERT_EQ(buttons.Open("Data/bttofa.bc", false), 0);
        result = std::make_unique<TFormStat>(&windows, &buttons);
    }

    void TearDown() override
    {
        therapy.reset();
        result.reset();
        QDir::setCurrent(previous);
        CExercise::PraisePauseMs = 1400;
    }

    // Chooses the exercises in this order; WY gets `tasks` tasks of `choices`
    // names from category bit 0.
    void Choose(std::initializer_list<int> order, int tasks = 3, int choices = 3)
    {
        CTherapySettings& s = patient.Settings();
        for (int i = 0; i < CTherapySettings::ExerciseCount; ++i)
            s.SetSelected(i, false);
        for (int i : order)
            s.SetSelected(i, true);
        ExeSet& wy = s.Get_ExeSet(CTherapySettings::WY);
        wy.LZ = tasks;
        wy.Flags = 1;
        CTherapySettings::SetChoices(wy, choices);
        for (int i : {1, 7})
            s.Get_ExeSet(i).LZ = 1;
    }

    void MakeWindow()
    {
        therapy = std::make_unique<TFormTherapy>();
        therapy->ResultWindow = result.get();
    }

    // Runs one therapy; `drive` is called inside the modal run. The window is
    // closed afterwards if the drive left it open (a failed expectation).
    void Run(std::function<void()> drive)
    {
        if (!therapy)
            MakeWindow();
        statistics = std::make_unique<CStatistics>(&patient);
        statistics->Reset(&patient.Settings());
        therapy->OnShown = [this, drive] {
            drive();
            if (therapy->isVisible())
                therapy->done(0);
        };
        therapy->Start(patient, *statistics);
    }

    // Answers the next showing of the result window with "Tak" or "Nie",
    // `afterMs` after it has appeared; `whileShown` runs once it is up.
    void AnswerResult(bool tak, int afterMs = 0, std::function<void()> whileShown = {})
    {
        auto answer = std::make_shared<std::function<void()>>();
        *answer = [this, tak, afterMs, whileShown, answer] {
            if (!result->isVisible()) {
                QTimer::singleShot(5, *answer);
                return;
            }
            if (whileShown)
                whileShown();
            QTimer::singleShot(afterMs, result.get(), [this, tak] {
                QWidget* button = tak ? static_cast<QWidget*>(result->TakButton())
                                      : static_cast<QWidget*>(result->NieButton());
                QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(32, 32));
            });
        };
        QTimer::singleShot(0, *answer);
    }

    static void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    static bool IsEnabled(const CTransButton* b)
    {
        return b->State() != CTransButton::EState::Disabled;
    }

    TempDir dir;
    QString previous;
    CPatient patient;
    CBitmapsContainer windows;
    CBitmapsContainer buttons;
    std::unique_ptr<TFormStat> result;
    std::unique_ptr<TFormTherapy> therapy;
    std::unique_ptr<CStatistics> statistics;
};
