#include "mainwindow/TFormProgress.h"

#include "app/DisplayMode.h"
#include "graphics/CDynamicPlace.h"
#include "mainwindow/CDialogFrame.h"
#include "mainwindow/TFormMessage.h"
#include "reports/CProgressChartView.h"
#include "reports/CProgressCsv.h"
#include "reports/CProgressReport.h"
#include "reports/CReportTarget.h"
#include "statistics/ExerciseTitles.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

using M = CExerciseFigures;

QFont Font(int pixels, bool bold = true)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QColor Colour(uint32_t colour) // 0x00BBGGRR, grey in monochrome
{
    if (ColorMode == CM_MONO)
        MonoColor(colour);
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// "50,0 → 75,0 (+25,0)": the first and the last therapies of an exercise.
QString Change(std::optional<double> before, std::optional<double> after)
{
    QString text = M::Text(before, 1) + QStringLiteral(" → ") + M::Text(after, 1);
    if (before && after) {
        const double change = *after - *before;
        text += QStringLiteral(" (") + (change >= 0 ? QStringLiteral("+") : QString()) +
                M::Text(change, 1) + QLatin1Char(')');
    }
    return text;
}

} // namespace

TFormProgress::TFormProgress(const CTherapyHistory::SPatient& patient, CTherapyHistory history,
                             CDbConnection* connection, TFormMessage* message, QWidget* parent,
                             CBitmapsContainer* windows)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_patient(patient),
      m_history(std::move(history)), m_connection(connection), m_message(message),
      m_frame(new CDialogFrame(this, windows))
{
    setObjectName(QStringLiteral("TFormProgress"));
    setWindowTitle(QStringLiteral("Postępy – ") + patient.Name);
    BuildLayout();
    for (int e = 0; e < CStatEx::FirstUnscored + 4; ++e)
        if (m_history.ExerciseMask() & (1 << e))
            cbCwiczenie->addItem(ExerciseTitle(e), e);
    FillComparison();
    const auto& t = m_history.Therapies();
    if (!t.empty()) {
        deOd->setDate(t.front().Day);
        deDo->setDate(t.back().Day);
    }
    btDrukuj->setEnabled(!QPrinterInfo::availablePrinterNames().isEmpty());
    if (cbCwiczenie->count() > 0)
        ShowExercise(cbCwiczenie->itemData(0).toInt());
}

TFormProgress::~TFormProgress() = default;

const QImage& TFormProgress::Frame() const
{
    return m_frame->Face();
}

bool TFormProgress::Grey() const
{
    return ColorMode == CM_MONO;
}

void TFormProgress::BuildLayout()
{
    // The main window's size less a margin, in every display mode.
    resize(DesignWidth - 60, DesignHeight - 60);
    // The contents inside the skinned frame's border.
    setContentsMargins(14, 10, 14, 10);
    // The plain background where no skin covers it.
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Colour(0xF0C080));
    palette.setColor(QPalette::Base, Colour(0xFAE4C9));
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setFont(Font(DisplayMode == DM_800 ? 12 : 14, false));

    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Postępy: ") + m_patient.Name, this);
    title->setObjectName(QStringLiteral("lbTytul"));
    title->setFont(Font(DisplayMode == DM_800 ? 20 : 26));
    QPalette navy = title->palette();
    navy.setColor(QPalette::WindowText, Grey() ? QColor(Qt::black) : QColor(0, 0, 128));
    title->setPalette(navy);
    title->setWordWrap(true);
    layout->addWidget(title);

    auto* choice = new QHBoxLayout;
    auto label = [this](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setFont(Font(font().pixelSize()));
        return l;
    };
    choice->addWidget(label(QStringLiteral("Ćwiczenie:")));
    cbCwiczenie = new QComboBox(this);
    cbCwiczenie->setObjectName(QStringLiteral("cbCwiczenie"));
    choice->addWidget(cbCwiczenie, 2);
    choice->addWidget(label(QStringLiteral("Wykres:")));
    cbWykres = new QComboBox(this);
    cbWykres->setObjectName(QStringLiteral("cbWykres"));
    cbWykres->addItem(QStringLiteral("Wszystkie trzy"), -1);
    for (int m = 0; m < M::MeasureCount; ++m)
        cbWykres->addItem(M::MeasureName(M::EMeasure(m)), m);
    choice->addWidget(cbWykres, 2);
    btWczesniej = new QPushButton(QStringLiteral("◀ Wcześniejsze"), this);
    btPozniej = new QPushButton(QStringLiteral("Późniejsze ▶"), this);
    lbZakres = new QLabel(this);
    lbZakres->setObjectName(QStringLiteral("lbZakres"));
    choice->addWidget(btWczesniej);
    choice->addWidget(lbZakres);
    choice->addWidget(btPozniej);
    layout->addLayout(choice);

    pbWykres = new CProgressChartView(this);
    pbWykres->setObjectName(QStringLiteral("pbWykres"));
    layout->addWidget(pbWykres, 3);

    layout->addWidget(
        label(QStringLiteral("Pierwsze i ostatnie terapie (po %1) – zmiana").arg(Compared)));
    twPorownanie = new QTableWidget(this);
    twPorownanie->setObjectName(QStringLiteral("twPorownanie"));
    twPorownanie->setColumnCount(1 + M::MeasureCount);
    QStringList header{QStringLiteral("Ćwiczenie")};
    for (int m = 0; m < M::MeasureCount; ++m)
        header << M::MeasureName(M::EMeasure(m)) + QStringLiteral(" (") +
                      M::MeasureUnit(M::EMeasure(m)) + QLatin1Char(')');
    twPorownanie->setHorizontalHeaderLabels(header);
    twPorownanie->verticalHeader()->hide();
    twPorownanie->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    twPorownanie->setEditTriggers(QAbstractItemView::NoEditTriggers);
    twPorownanie->setSelectionMode(QAbstractItemView::NoSelection);
    twPorownanie->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    layout->addWidget(twPorownanie, 2);

    auto* report = new QHBoxLayout;
    report->addWidget(label(QStringLiteral("Raport od:")));
    deOd = new QDateEdit(this);
    deDo = new QDateEdit(this);
    for (QDateEdit* d : {deOd, deDo}) {
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        d->setCalendarPopup(true);
    }
    report->addWidget(deOd);
    report->addWidget(label(QStringLiteral("do:")));
    report->addWidget(deDo);
    report->addStretch(1);
    auto button = [&](QPushButton*& b, const QString& text, const char* name) {
        b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setFont(Font(font().pixelSize()));
        report->addWidget(b);
    };
    button(btRaport, QStringLiteral("Raport PDF"), "btRaport");
    button(btDrukuj, QStringLiteral("Drukuj"), "btDrukuj");
    button(btCsv, QStringLiteral("Eksport CSV"), "btCsv");
    button(btCsvWszyscy, QStringLiteral("CSV wszystkich"), "btCsvWszyscy");
    btCsvWszyscy->setToolTip(QStringLiteral("Eksport CSV wszystkich pacjentów"));
    button(btZamknij, QStringLiteral("Zamknij"), "btZamknij");
    layout->addLayout(report);

    connect(cbCwiczenie, &QComboBox::activated, this,
            [this](int i) { ShowExercise(cbCwiczenie->itemData(i).toInt()); });
    connect(cbWykres, &QComboBox::activated, this,
            [this](int i) { ShowMeasure(cbWykres->itemData(i).toInt()); });
    connect(btWczesniej, &QPushButton::clicked, this, [this] { ShowEarlier(); });
    connect(btPozniej, &QPushButton::clicked, this, [this] { ShowLater(); });
    connect(btRaport, &QPushButton::clicked, this, [this] { SaveReport(); });
    connect(btDrukuj, &QPushButton::clicked, this, [this] { PrintReport(); });
    connect(btCsv, &QPushButton::clicked, this, [this] { ExportCsv(); });
    connect(btCsvWszyscy, &QPushButton::clicked, this, [this] { ExportAllCsv(); });
    connect(btZamknij, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormProgress::FillComparison()
{
    const int mask = m_history.ExerciseMask();
    twPorownanie->setRowCount(0);
    for (int e = 0; e < CStatEx::FirstUnscored + 4; ++e) {
        if (!(mask & (1 << e)))
            continue;
        const int count = m_history.CountOf(e);
        const CExerciseSummary first = m_history.Summary(e, 0, Compared);
        const CExerciseSummary last = m_history.Summary(e, std::max(0, count - Compared), Compared);
        const int row = twPorownanie->rowCount();
        twPorownanie->insertRow(row);
        const QString cells[] = {ExerciseTitle(e),
                                 Change(first.FaultlessShare(), last.FaultlessShare()),
                                 Change(first.HintPercent(), last.HintPercent()),
                                 Change(first.SecondsPerTask(), last.SecondsPerTask())};
        for (int c = 0; c < int(std::size(cells)); ++c)
            twPorownanie->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
    // No taller than its rows: the rest is the charts'.
    int height = twPorownanie->horizontalHeader()->sizeHint().height() + 4;
    for (int r = 0; r < twPorownanie->rowCount(); ++r)
        height += twPorownanie->rowHeight(r);
    twPorownanie->setMaximumHeight(height);
}

void TFormProgress::ShowExercise(int exercise)
{
    m_exercise = exercise;
    cbCwiczenie->setCurrentIndex(std::max(0, cbCwiczenie->findData(exercise)));
    m_first = std::max(0, m_history.CountOf(exercise) - Window);
    UpdateChart();
}

void TFormProgress::ShowMeasure(int measure)
{
    m_measure = measure;
    cbWykres->setCurrentIndex(std::max(0, cbWykres->findData(measure)));
    UpdateChart();
}

void TFormProgress::ShowEarlier()
{
    m_first = std::max(0, m_first - Window);
    UpdateChart();
}

void TFormProgress::ShowLater()
{
    m_first = std::max(0, std::min(m_first + Window, m_history.CountOf(m_exercise) - Window));
    UpdateChart();
}

void TFormProgress::UpdateChart()
{
    const int count = m_history.CountOf(m_exercise);
    const int last = std::min(count, m_first + Window);
    lbZakres->setText(QStringLiteral("%1–%2 z %3").arg(m_first + 1).arg(last).arg(count));
    btWczesniej->setEnabled(m_first > 0);
    btPozniej->setEnabled(last < count);
    std::vector<CProgressChart> charts;
    for (int m = 0; m < M::MeasureCount; ++m) {
        if (m_measure >= 0 && m != m_measure)
            continue;
        auto points = m_history.Series(m_exercise, M::EMeasure(m));
        points =
            std::vector<CTherapyHistory::SPoint>(points.begin() + m_first, points.begin() + last);
        CProgressChart chart(std::move(points), M::EMeasure(m));
        chart.SetGrey(Grey());
        charts.push_back(std::move(chart));
    }
    pbWykres->SetCharts(std::move(charts));
}

void TFormProgress::Inform(int kind, const QString& row1, const QString& row2)
{
    if (m_message)
        m_message->Inform(kind, row1, row2);
}

QString TFormProgress::AskFile(const QString& caption, const QString& path, const QString& filter)
{
    if (m_ask)
        return m_ask(caption, path, filter);
    return QFileDialog::getSaveFileName(this, caption, path, filter);
}

QString TFormProgress::SuggestedPath(const QString& stem, const QString& extension) const
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString name = CReportTarget::SafeFileName(
        stem + QLatin1Char(' ') + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    return QDir(folder).filePath(name + QLatin1Char('.') + extension);
}

bool TFormProgress::SaveReport()
{
    CProgressReport report(m_patient, m_history, deOd->date(), deDo->date());
    if (report.Empty()) {
        Inform(TFormMessage::KindInformation,
               QStringLiteral("W wybranym okresie pacjent nie ma żadnej terapii."),
               QStringLiteral("Raport nie został utworzony."));
        return false;
    }
    report.SetGrey(Grey());
    const QString path = AskFile(QStringLiteral("Zapisz raport PDF"),
                                 SuggestedPath(m_patient.Name, QStringLiteral("pdf")),
                                 QStringLiteral("Raport PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    QString error;
    if (!report.SavePdf(path, &error)) {
        TellNotWritten(error);
        return false;
    }
    return true;
}

void TFormProgress::TellNotWritten(const QString& error)
{
    Inform(TFormMessage::KindError, error,
           QStringLiteral("Sprawdź, czy folder istnieje, czy wolno w nim zapisywać i czy "
                          "jest miejsce na dysku."));
}

bool TFormProgress::PrintReport()
{
    CProgressReport report(m_patient, m_history, deOd->date(), deDo->date());
    if (report.Empty()) {
        Inform(TFormMessage::KindInformation,
               QStringLiteral("W wybranym okresie pacjent nie ma żadnej terapii."),
               QStringLiteral("Nie ma czego drukować."));
        return false;
    }
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        Inform(TFormMessage::KindWarning, QStringLiteral("Nie znaleziono żadnej drukarki."),
               QStringLiteral("Zapisz raport jako PDF i wydrukuj go później."));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
    printer.setDocName(QStringLiteral("Raport postępów: ") + m_patient.Name);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Drukuj raport"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    report.SetGrey(Grey());
    return report.Render(&printer) > 0;
}

bool TFormProgress::ExportCsv()
{
    const QString path =
        AskFile(QStringLiteral("Eksport CSV"), SuggestedPath(m_patient.Name, QStringLiteral("csv")),
                QStringLiteral("Plik CSV (*.csv)"));
    if (path.isEmpty())
        return false;
    CProgressCsv csv;
    csv.AddPatient(m_patient.Name, m_history);
    QString error;
    if (!csv.Save(path, &error)) {
        TellNotWritten(error);
        return false;
    }
    return true;
}

bool TFormProgress::ExportAllCsv()
{
    const QString path =
        AskFile(QStringLiteral("Eksport CSV wszystkich pacjentów"),
                SuggestedPath(QStringLiteral("Wszyscy pacjenci"), QStringLiteral("csv")),
                QStringLiteral("Plik CSV (*.csv)"));
    if (path.isEmpty())
        return false;
    CProgressCsv csv;
    try {
        csv.AddAllPatients(m_connection);
    } catch (...) {
        Inform(TFormMessage::KindError,
               QStringLiteral("Nie udało się odczytać terapii z bazy pacjentów."));
        return false;
    }
    QString error;
    if (!csv.Save(path, &error)) {
        TellNotWritten(error);
        return false;
    }
    return true;
}
