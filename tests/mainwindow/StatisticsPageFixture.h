#pragma once
#include "SkinFixture.h"
#include "app/DisplayMode.h"
#include "common/PatientDbFixture.h"
#include "mainwindow/CStatisticsPage.h"
#include "mainwindow/TFormMessage.h"
#include "patients/CPatient.h"
#include "statistics/CNagrywanie.h"
#include "statistics/CStatistics.h"

#include <QWidget>
#include <memory>

// The statistics page bound to a patient store as the main window binds it,
// at 1024x768 in colour, with the program's skins and message window (its
// sound silenced): what the page's own tests and the progress window's share.
class StatisticsPageFixture : public PatientDbTest
{
protected:
    void SetUp() override
    {
        PatientDbTest::SetUp();
        SetDisplayModeFor(1024, 768);
        ColorMode = CM_COLOR;
        windows = SkinFixture::Get().OpenWindows();
        buttons = SkinFixture::Get().OpenButtons();
        ASSERT_TRUE(windows && buttons);
        previousSound = TFormMessage::SetSoundFunction([](int) {});
        message = std::make_unique<TFormMessage>(windows.get(), buttons.get());
        {
            CDbConnection db;
            db.Connect(path);
            FillStore(db);
        }
        ASSERT_TRUE(patient.Open(path));
        PatientOpened();
        statistics = std::make_unique<CStatistics>(&patient);
        nagrywanie = MakeRecorder();
        host = std::make_unique<QWidget>();
        host->resize(574, 544);
        page = new CStatisticsPage(host.get());
        page->Bind(&patient, statistics.get(), nagrywanie.get(), message.get(), buttons.get());
        host->show();
    }
    void TearDown() override
    {
        host.reset(); // the page goes with it
        nagrywanie.reset();
        TFormMessage::SetSoundFunction(previousSound);
    }

    // Rows written into the store before the patient opens it (held
    // exclusively afterwards when it is a file).
    virtual void FillStore(CDbConnection&) {}
    // After the patient has opened the store, before the statistics.
    virtual void PatientOpened() {}
    // The recorder of the page: a silent one unless a test needs its own.
    virtual std::unique_ptr<CNagrywanie> MakeRecorder()
    {
        return std::make_unique<CNagrywanie>(
            nullptr, [] {}, [] {});
    }

    std::unique_ptr<CBitmapsContainer> windows;
    std::unique_ptr<CBitmapsContainer> buttons;
    TFormMessage::SoundFunction previousSound;
    std::unique_ptr<TFormMessage> message;
    CPatient patient;
    std::unique_ptr<CStatistics> statistics;
    std::unique_ptr<CNagrywanie> nagrywanie;
    std::unique_ptr<QWidget> host;
    CStatisticsPage* page = nullptr;
};
