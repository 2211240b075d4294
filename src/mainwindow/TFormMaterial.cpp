#include "mainwindow/TFormMaterial.h"
#include "mainwindow/TFormVoice.h"

#include "app/DisplayMode.h"
#include "app/Universalfn.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "content/OwnPictureFile.h"
#include "content/OwnWordName.h"
#include "content/PhotoSizes.h"
#include "graphics/CDynamicPlace.h"
#include "mainwindow/CDialogFrame.h"
#include "mainwindow/CPictureFrameView.h"
#include "mainwindow/TFormMessage.h"
#include "patients/CPatient.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const char* const kCategoryCaptions[] = {
    "Dom i mieszkanie", "Zwierzęta", "Owoce i warzywa", "Transport", "Osoby",
    "Jedzenie",         "Ogród",     "Biuro",           "Inne"};

constexpr QSize kThumbnail(96, 72);
const QString kTransferFilter = QStringLiteral("Własne materiały (*.lqw)");

QFont Arial(int pixels, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A colour of the program's look, grey in the monochrome mode.
QColor Look(int r, int g, int b)
{
    uint32_t c = uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
    MonoColor(c);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

template <class W> W* Named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption)
{
    return Named(new QPushButton(QString::fromUtf8(caption), parent), name);
}

// The message window's four rows from a text whose paragraphs are separated
// by blank lines.
QStringList Rows(const QString& text)
{
    QStringList rows = text.split(QStringLiteral("\n\n"));
    while (rows.size() < TFormMessage::RowCount)
        rows << QString();
    return rows;
}

} // namespace

TFormMaterial::TFormMaterial(COwnMaterial& store, const CWords* words, QList<SPatientName> patients,
                             TFormMessage* message, QWidget* parent)
    : QDialog(parent), m_store(store), m_words(words), m_patients(std::move(patients)),
      m_message(message)
{
    setObjectName(QStringLiteral("TFormMaterial"));
    setWindowTitle(QStringLiteral("Własne materiały"));
    setModal(true);
    Build();
    ApplyLook();
    FillList();
    StopEditing();
}

TFormMaterial::~TFormMaterial()
{
    // A voice played here does not go on over the main window.
    StopContentSound();
}

QList<TFormMaterial::SPatientName> TFormMaterial::ReadPatients(const CPatient& patient)
{
    QList<SPatientName> names;
    if (!patient.Connection() || !patient.Connection()->IsConnected())
        return names;
    CDbQuery query(patient.Connection());
    query.SetSQL(QStringLiteral("SELECT idPac, NazwiskoImie FROM Pacjenci"));
    query.Open();
    for (query.First(); !query.Eof(); query.Next())
        names.append(
            {query.FieldByName("idPac").AsInteger(), query.FieldByName("NazwiskoImie").AsString()});
    QCollator polish(QLocale(QLocale::Polish));
    std::sort(names.begin(), names.end(), [&](const SPatientName& a, const SPatientName& b) {
        return polish.compare(a.Name, b.Name) < 0;
    });
    return names;
}

// ---- building

void TFormMaterial::Build()
{
    const QSize size(std::min(DesignWidth, 1000), std::min(DesignHeight, 720));
    resize(size);
    auto* title = Named(new QLabel(QStringLiteral("Własne materiały"), this), "lbTitle");
    title->setFont(Arial(DesignWidth <= 800 ? 26 : 35, true));

    lvSlowa = Named(new QListWidget(this), "lvSlowa");
    lvSlowa->setIconSize(kThumbnail);
    lvSlowa->setFont(Arial(16, true));
    lvSlowa->setMinimumWidth(DesignWidth <= 800 ? 230 : 300);
    connect(lvSlowa, &QListWidget::itemDoubleClicked, this, [this] {
        if (!m_editing)
            EditSelected();
    });
    connect(lvSlowa, &QListWidget::currentRowChanged, this, [this] {
        btEdytuj->setEnabled(!m_editing && SelectedId() > 0);
        btUsun->setEnabled(!m_editing && SelectedId() > 0);
    });
    btDodaj = Button(this, "btDodaj", "Dodaj");
    btEdytuj = Button(this, "btEdytuj", "Edytuj");
    btUsun = Button(this, "btUsun", "Usuń");
    btZamknij = Button(this, "btZamknij", "Zamknij");
    btEksportuj = Button(this, "btEksportuj", "Eksportuj…");
    btImportuj = Button(this, "btImportuj", "Importuj…");
    connect(btEksportuj, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, QStringLiteral("Eksport własnych materiałów"),
                                         QStringLiteral("wlasne-materialy.lqw"), kTransferFilter);
        if (!path.isEmpty())
            ExportTo(path);
    });
    connect(btImportuj, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Import własnych materiałów"), QString(), kTransferFilter);
        if (!path.isEmpty())
            ImportFrom(path);
    });
    connect(btDodaj, &QPushButton::clicked, this, [this] { AddWord(); });
    connect(btEdytuj, &QPushButton::clicked, this, [this] { EditSelected(); });
    connect(btUsun, &QPushButton::clicked, this, [this] { DeleteSelected(); });
    connect(btZamknij, &QPushButton::clicked, this, [this] { accept(); });

    auto* listButtons = new QHBoxLayout;
    for (QPushButton* b : {btDodaj, btEdytuj, btUsun})
        listButtons->addWidget(b);
    auto* left = new QVBoxLayout;
    left->addWidget(lvSlowa, 1);
    left->addLayout(listButtons);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(BuildEditor(), 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btEksportuj);
    bottom->addWidget(btImportuj);
    bottom->addStretch(1);
    bottom->addWidget(btZamknij);

    new CDialogFrame(this);
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(CDialogFrame::ContentMargins() + QMargins(10, 0, 10, 6));
    all->addWidget(title);
    all->addLayout(columns, 1);
    all->addLayout(bottom);
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setFont(Arial(15, true));
        b->setAutoDefault(false);
    }
}

QWidget* TFormMaterial::BuildEditor()
{
    gbSlowo = Named(new QGroupBox(QStringLiteral("Słowo"), this), "gbSlowo");
    gbSlowo->setFont(Arial(15, true));
    auto* grid = new QGridLayout(gbSlowo);
    int row = 0;

    edNazwa = Named(new QLineEdit(gbSlowo), "edNazwa");
    edNazwa->setFont(Arial(20, true));
    edNazwa->setMaxLength(OwnWordName::MaxLength + 8); // room to see why it is too long
    connect(edNazwa, &QLineEdit::textEdited, this, [this] { CheckName(); });
    grid->addWidget(new QLabel(QStringLiteral("Nazwa:"), gbSlowo), row, 0);
    grid->addWidget(edNazwa, row++, 1, 1, 2);
    lbNazwaUwaga = Named(new QLabel(gbSlowo), "lbNazwaUwaga");
    lbNazwaUwaga->setWordWrap(true);
    lbNazwaUwaga->setFont(Arial(13, true));
    btEdytujIstniejace = Button(gbSlowo, "btEdytujIstniejace", "Edytuj to słowo");
    connect(btEdytujIstniejace, &QPushButton::clicked, this, [this] { EditWord(m_sameOwnId); });
    grid->addWidget(lbNazwaUwaga, row, 1);
    grid->addWidget(btEdytujIstniejace, row++, 2);

    auto* categories = new QGridLayout;
    for (int t = 0; t < 9; ++t) {
        cbKat[t] = new QCheckBox(QString::fromUtf8(kCategoryCaptions[t]), gbSlowo);
        cbKat[t]->setObjectName(QStringLiteral("cbKat%1").arg(t));
        cbKat[t]->setFont(Arial(13, true));
        categories->addWidget(cbKat[t], t / 3, t % 3);
    }
    grid->addWidget(new QLabel(QStringLiteral("Kategorie:"), gbSlowo), row, 0, Qt::AlignTop);
    grid->addLayout(categories, row++, 1, 1, 2);

    edZagadka = Named(new QLineEdit(gbSlowo), "edZagadka");
    edZagadka->setFont(Arial(14, false));
    edZagadka->setPlaceholderText(QStringLiteral("do zadań opisowych; może zostać pusta"));
    grid->addWidget(new QLabel(QStringLiteral("Zagadka:"), gbSlowo), row, 0);
    grid->addWidget(edZagadka, row++, 1, 1, 2);

    cbPacjent = Named(new QComboBox(gbSlowo), "cbPacjent");
    cbPacjent->setFont(Arial(14, false));
    cbPacjent->addItem(QStringLiteral("Wszyscy pacjenci"), COwnWord::Everyone);
    for (const SPatientName& p : m_patients)
        cbPacjent->addItem(p.Name, p.Id);
    grid->addWidget(new QLabel(QStringLiteral("Dla kogo:"), gbSlowo), row, 0);
    grid->addWidget(cbPacjent, row++, 1, 1, 2);

    // The photo frame, and the picture as the two layouts will show it.
    pbKadr = Named(new CPictureFrameView(gbSlowo), "pbKadr");
    const int frameWidth = DesignWidth <= 800 ? 240 : 320;
    pbKadr->setFixedSize(frameWidth, frameWidth * 3 / 4);
    pbKadr->OnChanged = [this] {
        m_pictureChanged = true;
        ShowPreviews();
    };
    btObrazek = Button(gbSlowo, "btObrazek", "Wybierz obrazek…");
    btPowieksz = Button(gbSlowo, "btPowieksz", "+");
    btPomniejsz = Button(gbSlowo, "btPomniejsz", "−");
    connect(btObrazek, &QPushButton::clicked, this, [this] { ChoosePicture(); });
    connect(btPowieksz, &QPushButton::clicked, this, [this] { pbKadr->ZoomBy(1.25); });
    connect(btPomniejsz, &QPushButton::clicked, this, [this] { pbKadr->ZoomBy(0.8); });
    lbPodgladDuzy = Named(new QLabel(gbSlowo), "lbPodgladDuzy");
    lbPodgladMaly = Named(new QLabel(gbSlowo), "lbPodgladMaly");
    auto* previews = new QVBoxLayout;
    previews->addWidget(btObrazek);
    auto* zoom = new QHBoxLayout;
    zoom->addWidget(btPomniejsz);
    zoom->addWidget(btPowieksz);
    previews->addLayout(zoom);
    previews->addWidget(new QLabel(QStringLiteral("Podgląd:"), gbSlowo));
    previews->addWidget(lbPodgladDuzy);
    previews->addWidget(lbPodgladMaly);
    previews->addStretch(1);
    // The hint goes under the frame it is about: beside it, the two previews
    // have the height they need.
    auto* hint = new QLabel(QStringLiteral("Przesuń obrazek myszą, kółkiem powiększ."), gbSlowo);
    hint->setWordWrap(true);
    hint->setFont(Arial(12, false));
    auto* frame = new QVBoxLayout;
    frame->addWidget(pbKadr);
    frame->addWidget(hint);
    frame->addStretch(1);
    auto* picture = new QHBoxLayout;
    picture->addLayout(frame);
    picture->addLayout(previews, 1);
    grid->addWidget(new QLabel(QStringLiteral("Obrazek:"), gbSlowo), row, 0, Qt::AlignTop);
    grid->addLayout(picture, row++, 1, 1, 2);

    lbGlos = Named(new QLabel(gbSlowo), "lbGlos");
    lbGlos->setWordWrap(true);
    lbGlos->setFont(Arial(13, false));
    btNagrajGlos = Button(gbSlowo, "btNagrajGlos", "Nagraj głos…");
    btNagrajZagadke = Button(gbSlowo, "btNagrajZagadke", "Nagraj zagadkę…");
    connect(btNagrajGlos, &QPushButton::clicked, this, [this] { RecordVoice(false); });
    connect(btNagrajZagadke, &QPushButton::clicked, this, [this] { RecordVoice(true); });
    btOdsluchajGlos = Button(gbSlowo, "btOdsluchajGlos", "Odsłuchaj");
    btOdsluchajZagadke = Button(gbSlowo, "btOdsluchajZagadke", "Odsłuchaj zagadkę");
    connect(btOdsluchajGlos, &QPushButton::clicked, this, [this] { PlayVoice(false); });
    connect(btOdsluchajZagadke, &QPushButton::clicked, this, [this] { PlayVoice(true); });
    auto* voice = new QHBoxLayout;
    voice->addWidget(btNagrajGlos);
    voice->addWidget(btOdsluchajGlos);
    voice->addWidget(btNagrajZagadke);
    voice->addWidget(btOdsluchajZagadke);
    voice->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("Głos:"), gbSlowo), row, 0);
    grid->addLayout(voice, row++, 1, 1, 2);
    grid->addWidget(lbGlos, row++, 1, 1, 2);

    btZapisz = Button(gbSlowo, "btZapisz", "Zapisz");
    btAnuluj = Button(gbSlowo, "btAnuluj", "Anuluj");
    connect(btZapisz, &QPushButton::clicked, this, [this] { SaveWord(); });
    connect(btAnuluj, &QPushButton::clicked, this, [this] { CancelWord(); });
    auto* save = new QHBoxLayout;
    save->addStretch(1);
    save->addWidget(btZapisz);
    save->addWidget(btAnuluj);
    grid->setRowStretch(row, 1);
    grid->addLayout(save, ++row, 0, 1, 3);
    return gbSlowo;
}

// The program's colours and font, grey in the monochrome mode.
void TFormMaterial::ApplyLook()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, Look(222, 234, 246));
    p.setColor(QPalette::Base, Look(204, 228, 248));
    p.setColor(QPalette::Button, Look(132, 192, 240));
    p.setColor(QPalette::Highlight, Look(48, 140, 198));
    p.setColor(QPalette::WindowText, Look(0, 0, 128));
    p.setColor(QPalette::ButtonText, Look(0, 0, 128));
    setPalette(p);
    setAutoFillBackground(true);
    QPalette warning = lbNazwaUwaga->palette();
    warning.setColor(QPalette::WindowText, Look(176, 0, 0));
    lbNazwaUwaga->setPalette(warning);
}

// ---- the list

int TFormMaterial::SelectedId() const
{
    const QListWidgetItem* item = lvSlowa->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

void TFormMaterial::FillList()
{
    const int keep = SelectedId();
    lvSlowa->clear();
    for (const COwnWord& word : m_store.Words()) {
        QImage thumbnail;
        if (!m_store.LoadThumbnail(word.Id, kThumbnail, &thumbnail)) {
            thumbnail = QImage(kThumbnail, QImage::Format_RGB888);
            thumbnail.fill(Qt::white);
        }
        thumbnail.convertTo(QImage::Format_BGR888);
        MonoBitmap(&thumbnail);
        QString caption = word.Nazwa;
        for (const SPatientName& p : m_patients)
            if (p.Id == word.Pacjent)
                caption += QStringLiteral("\n") + p.Name;
        // The chosen word's picture as it is: the style would tint it with
        // the desktop's selection colour, which is not the program's look.
        const QPixmap picture =
            QPixmap::fromImage(thumbnail.scaled(kThumbnail, Qt::KeepAspectRatio));
        QIcon icon(picture);
        icon.addPixmap(picture, QIcon::Selected);
        auto* item = new QListWidgetItem(icon, caption, lvSlowa);
        item->setData(Qt::UserRole, word.Id);
    }
    SelectInList(keep);
}

void TFormMaterial::SelectInList(int id)
{
    for (int i = 0; i < lvSlowa->count(); ++i)
        if (lvSlowa->item(i)->data(Qt::UserRole).toInt() == id)
            lvSlowa->setCurrentRow(i);
}

// ---- editing

void TFormMaterial::AddWord()
{
    StartEditing(COwnWord());
}

void TFormMaterial::EditSelected()
{
    if (SelectedId() > 0)
        EditWord(SelectedId());
}

void TFormMaterial::EditWord(int id)
{
    if (const COwnWord* word = m_store.Find(id)) {
        SelectInList(id);
        StartEditing(*word);
    }
}

void TFormMaterial::StartEditing(const COwnWord& word)
{
    m_editing = true;
    m_word = word;
    m_media = {};
    m_pictureChanged = false;
    edNazwa->setText(word.Nazwa);
    for (int t = 0; t < 9; ++t)
        cbKat[t]->setChecked(word.Grupy & (1 << t));
    edZagadka->setText(word.Opis);
    const int patient = cbPacjent->findData(word.Pacjent);
    cbPacjent->setCurrentIndex(std::max(0, patient));
    QImage picture;
    pbKadr->SetFrame(m_store.LoadPicture(word.Id, true, &picture) ? CPictureFrame(picture)
                                                                  : CPictureFrame());
    gbSlowo->setEnabled(true);
    // The list stays readable, but another word is taken only after this one.
    for (QPushButton* b : {btDodaj, btEdytuj, btUsun, btImportuj})
        b->setEnabled(false);
    CheckName();
    ShowPreviews();
    ShowVoice();
    edNazwa->setFocus();
}

void TFormMaterial::StopEditing()
{
    StopContentSound();
    m_editing = false;
    m_word = COwnWord();
    m_media = {};
    edNazwa->clear();
    edZagadka->clear();
    for (QCheckBox* box : cbKat)
        box->setChecked(false);
    cbPacjent->setCurrentIndex(0);
    pbKadr->SetFrame(CPictureFrame());
    lbNazwaUwaga->clear();
    btEdytujIstniejace->hide();
    gbSlowo->setEnabled(false);
    btDodaj->setEnabled(m_store.IsOpen());
    btImportuj->setEnabled(m_store.IsOpen());
    btEdytuj->setEnabled(SelectedId() > 0);
    btUsun->setEnabled(SelectedId() > 0);
    ShowPreviews();
    lbGlos->clear();
}

void TFormMaterial::CancelWord()
{
    StopEditing();
}

QString TFormMaterial::NameProblem() const
{
    const QString name = OwnWordName::Normalize(edNazwa->text());
    QString problem = OwnWordName::Problem(name);
    if (!problem.isEmpty())
        return problem;
    if (m_words)
        for (const CRecWord& word : m_words->Words())
            if (word.Nazwa == name)
                return QStringLiteral("Słowo %1 jest już w materiale programu.").arg(name);
    const COwnWord* same = m_store.FindName(name);
    if (same && same->Id != m_word.Id)
        return QStringLiteral("Słowo %1 jest już wśród własnych materiałów.").arg(name);
    return {};
}

// The name in capitals as it is typed, with the reason it cannot be saved.
void TFormMaterial::CheckName()
{
    // Raised as it is typed; blanks are kept so that the reason shows.
    const int cursor = edNazwa->cursorPosition();
    const QString upper = UpperPL(edNazwa->text());
    if (edNazwa->text() != upper) {
        edNazwa->setText(upper);
        edNazwa->setCursorPosition(cursor);
    }
    const QString problem = NameProblem();
    // An empty name is not yet a mistake.
    lbNazwaUwaga->setText(upper.trimmed().isEmpty() ? QString() : problem);
    const COwnWord* same = m_store.FindName(OwnWordName::Normalize(upper));
    m_sameOwnId = same && same->Id != m_word.Id ? same->Id : 0;
    btEdytujIstniejace->setVisible(m_sameOwnId != 0);
    btZapisz->setEnabled(problem.isEmpty());
}

void TFormMaterial::ShowPreviews()
{
    const double scale = DesignWidth <= 800 ? 0.16 : 0.2;
    const struct
    {
        QLabel* label;
        QSize size;
        const char* layouts;
    } previews[] = {{lbPodgladDuzy, PhotoSize1280, "1280×960 i 800×600"},
                    {lbPodgladMaly, PhotoSize1024, "1024×768"}};
    for (const auto& p : previews) {
        const QSize shown(int(p.size.width() * scale), int(p.size.height() * scale));
        p.label->setFixedSize(shown);
        if (pbKadr->Frame().IsEmpty()) {
            p.label->clear();
            continue;
        }
        QImage image = pbKadr->Frame().Render(p.size).convertToFormat(QImage::Format_BGR888);
        MonoBitmap(&image);
        p.label->setPixmap(QPixmap::fromImage(
            image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
        p.label->setToolTip(QString::fromUtf8(p.layouts));
    }
}

void TFormMaterial::ShowVoice()
{
    QString name;
    if (!m_media.Voice.isEmpty())
        name = QStringLiteral("nazwa: nowe nagranie");
    else if (!m_word.Glos.isEmpty())
        name = QStringLiteral("nazwa: nagrana");
    else
        name = QStringLiteral("nazwa: powie ją syntezator mowy");
    QString riddle;
    if (!m_media.RiddleVoice.isEmpty())
        riddle = QStringLiteral("zagadka: nowe nagranie");
    else if (!m_word.GlosOpisu.isEmpty())
        riddle = QStringLiteral("zagadka: nagrana");
    else
        riddle = QStringLiteral("zagadka: powie ją syntezator mowy");
    lbGlos->setText(name + QStringLiteral("; ") + riddle + QStringLiteral("."));
    btOdsluchajGlos->setEnabled(!m_media.Voice.isEmpty() || !StoredVoicePath(false).isEmpty());
    btOdsluchajZagadke->setEnabled(!m_media.RiddleVoice.isEmpty() ||
                                   !StoredVoicePath(true).isEmpty());
}

QString TFormMaterial::StoredVoicePath(bool riddle) const
{
    return riddle ? m_store.RiddleVoicePath(m_word) : m_store.VoicePath(m_word);
}

void TFormMaterial::PlayVoice(bool riddle)
{
    const QByteArray& taken = riddle ? m_media.RiddleVoice : m_media.Voice;
    if (!taken.isEmpty())
        PlayWave(taken, true);
    else if (!StoredVoicePath(riddle).isEmpty())
        PlayWv(StoredVoicePath(riddle), true);
}

void TFormMaterial::SetVoice(const QByteArray& wave)
{
    m_media.Voice = wave;
    ShowVoice();
}

void TFormMaterial::SetRiddleVoice(const QByteArray& wave)
{
    m_media.RiddleVoice = wave;
    ShowVoice();
}

// The wiring point of the voice dialog: a voice for the name or the riddle.
void TFormMaterial::RecordVoice(bool riddle)
{
    const QString text = riddle ? edZagadka->text() : OwnWordName::Normalize(edNazwa->text());
    QByteArray wave;
    if (VoiceSource) {
        wave = VoiceSource(text);
    } else {
        // Recorded from the microphone or taken from a sound file.
        wave = TFormVoice::Take(this, m_message, text).value_or(QByteArray());
    }
    if (wave.isEmpty())
        return;
    riddle ? SetRiddleVoice(wave) : SetVoice(wave);
}

void TFormMaterial::ChoosePicture()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Obrazek"), QString(),
                                                      OwnPictureFile::FileFilter());
    if (!path.isEmpty())
        LoadPictureFile(path);
}

bool TFormMaterial::LoadPictureFile(const QString& path)
{
    QImage picture;
    QString error;
    // Enough detail to zoom in twice on the large size.
    if (!OwnPictureFile::Load(path, PhotoSize1280 * 2, &picture, &error)) {
        Tell(TFormMessage::KindWarning, error);
        return false;
    }
    pbKadr->SetFrame(CPictureFrame(std::move(picture)));
    m_pictureChanged = true;
    ShowPreviews();
    return true;
}

bool TFormMaterial::SaveWord()
{
    if (!m_editing)
        return false;
    const QString problem = NameProblem();
    if (!problem.isEmpty()) {
        Tell(TFormMessage::KindWarning, problem);
        return false;
    }
    COwnWord word = m_word;
    word.Nazwa = OwnWordName::Normalize(edNazwa->text());
    word.Grupy = 0;
    for (int t = 0; t < 9; ++t)
        if (cbKat[t]->isChecked())
            word.Grupy |= 1 << t;
    word.Opis = edZagadka->text().simplified();
    word.Pacjent = cbPacjent->currentData().toInt();
    COwnMaterial::SMedia media = m_media;
    if (m_pictureChanged && !pbKadr->Frame().IsEmpty()) {
        media.Large = pbKadr->Frame().Render(PhotoSize1280);
        media.Small = pbKadr->Frame().Render(PhotoSize1024);
    }
    if (!m_store.Save(word, media)) {
        Tell(TFormMessage::KindError, m_store.LastError());
        return false;
    }
    m_changed = true;
    StopEditing();
    FillList();
    SelectInList(word.Id);
    return true;
}

void TFormMaterial::DeleteSelected()
{
    const COwnWord* word = m_store.Find(SelectedId());
    if (!word)
        return;
    const QString name = word->Nazwa;
    if (!m_message || !m_message->Ask(QStringLiteral("Czy usunąć słowo %1?").arg(name),
                                      QStringLiteral("Usunięte zostaną też jego obrazek i głos."),
                                      QStringLiteral("Wyniki dawnych terapii zostaną.")))
        return;
    if (!m_store.Remove(word->Id)) {
        Tell(TFormMessage::KindError, m_store.LastError());
        return;
    }
    m_changed = true;
    FillList();
    StopEditing();
}

void TFormMaterial::Tell(int kind, const QString& text)
{
    if (!m_message)
        return;
    const QStringList rows = Rows(text);
    m_message->Inform(kind, rows[0], rows[1], rows[2], rows.mid(3).join(QStringLiteral(" ")));
}

// ---- moving the material

bool TFormMaterial::ExportTo(const QString& path)
{
    QString error;
    if (!OwnMaterialTransfer::Export(m_store, m_patients, path, &error)) {
        Tell(TFormMessage::KindError, error);
        return false;
    }
    Tell(TFormMessage::KindInformation,
         QStringLiteral("Zapisano %1 własnych słów do pliku.").arg(m_store.Words().size()));
    return true;
}

bool TFormMaterial::ImportFrom(const QString& path)
{
    OwnMaterialTransfer::SReport report;
    QString error;
    if (!OwnMaterialTransfer::Import(m_store, m_words, m_patients, path, &report, &error)) {
        Tell(TFormMessage::KindError, error);
        return false;
    }
    if (!report.Added.isEmpty())
        m_changed = true;
    FillList();
    auto line = [](const char* what, const QStringList& names) {
        return QStringLiteral("%1 (%2): %3")
            .arg(QString::fromUtf8(what))
            .arg(names.size())
            .arg(names.isEmpty() ? QStringLiteral("—") : names.join(QStringLiteral(", ")));
    };
    QString text = line("Dodane", report.Added) + QStringLiteral("\n\n") +
                   line("Już były", report.Present) + QStringLiteral("\n\n") +
                   line("Odrzucone", report.Refused);
    const int voices =
        int(report.VoicesAdded.size() + report.VoicesPresent.size() + report.VoicesRefused.size());
    if (voices > 0)
        text += QStringLiteral("\n\nWłasne nagrania: dodane %1, już były %2, odrzucone %3.")
                    .arg(report.VoicesAdded.size())
                    .arg(report.VoicesPresent.size())
                    .arg(report.VoicesRefused.size());
    const bool refused = !report.Refused.isEmpty() || !report.VoicesRefused.isEmpty();
    Tell(refused ? TFormMessage::KindWarning : TFormMessage::KindInformation, text);
    return true;
}
