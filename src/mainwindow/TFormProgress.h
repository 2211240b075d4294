#pragma once
#include "graphics/CBitmapsContainer.h"
#include "statistics/CTherapyHistory.h"

#include <QDialog>
#include <QImage>
#include <functional>

class CBitmapsContainer;
class CDbConnection;
class CDialogFrame;
class CProgressChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;
class TFormMessage;

// The progress window ("Postępy") of the active patient, opened from the
// statistics page: a chart per exercise and measure over the patient's
// therapies (at most 100 at a time, the earlier ones a click away), the
// first and the last five therapies of each exercise side by side, and the
// report as a PDF file or on paper and the history as a CSV file. The frame
// is the program's skinned one, as its other windows over the main window
// have it (a plain background without a skin).
class TFormProgress : public QDialog
{
public:
    static constexpr int Window = 100; // therapies in one chart
    static constexpr int Compared = 5; // first and last therapies compared

    // Asks where to save: caption, suggested path, filter; empty when the
    // therapist cancels. A file dialog unless set otherwise.
    using FileQuestion = std::function<QString(const QString&, const QString&, const QString&)>;

    // `history` is the patient's, not empty; `connection` the patient
    // database's, for the export of all patients. Messages go through
    // `message` (none: unseen); the frame comes from `windows`.
    TFormProgress(const CTherapyHistory::SPatient& patient, CTherapyHistory history,
                  CDbConnection* connection, TFormMessage* message, QWidget* parent = nullptr,
                  CBitmapsContainer* windows = WindowsContainer);
    ~TFormProgress() override;

    void SetFileQuestion(FileQuestion question) { m_ask = std::move(question); }

    // The exercise (index) and the measure (-1: all three) shown.
    void ShowExercise(int exercise);
    void ShowMeasure(int measure);
    // The window of therapies: earlier, later.
    void ShowEarlier();
    void ShowLater();
    int Exercise() const { return m_exercise; }
    int FirstShown() const { return m_first; }

    // The actions of the buttons; false when nothing was written.
    bool SaveReport();
    bool PrintReport();
    bool ExportCsv();
    bool ExportAllCsv();

    // The suggested file: the documents folder, the patient's name and the
    // date, made safe for the file system.
    QString SuggestedPath(const QString& stem, const QString& extension) const;

    // The skinned frame drawn under the window's contents; null without a skin.
    const QImage& Frame() const;

    QComboBox* cbCwiczenie = nullptr;
    QComboBox* cbWykres = nullptr;
    QPushButton* btWczesniej = nullptr;
    QPushButton* btPozniej = nullptr;
    QLabel* lbZakres = nullptr;
    CProgressChartView* pbWykres = nullptr;
    QTableWidget* twPorownanie = nullptr;
    QDateEdit* deOd = nullptr;
    QDateEdit* deDo = nullptr;
    QPushButton* btRaport = nullptr;
    QPushButton* btDrukuj = nullptr;
    QPushButton* btCsv = nullptr;
    QPushButton* btCsvWszyscy = nullptr;
    QPushButton* btZamknij = nullptr;

private:
    void BuildLayout();
    void FillComparison();
    void UpdateChart();
    void Inform(int kind, const QString& row1, const QString& row2 = {});
    // A report or export that could not be written, with what to check.
    void TellNotWritten(const QString& error);
    QString AskFile(const QString& caption, const QString& path, const QString& filter);
    bool Grey() const;

    CTherapyHistory::SPatient m_patient;
    CTherapyHistory m_history;
    CDbConnection* m_connection;
    TFormMessage* m_message;
    FileQuestion m_ask;
    int m_exercise = -1;
    int m_measure = -1;
    int m_first = 0;
    CDialogFrame* m_frame; // owned by the window
};
