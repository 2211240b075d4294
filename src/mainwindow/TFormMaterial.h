#pragma once
#include "content/COwnMaterial.h"
#include "content/OwnMaterialTransfer.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>
#include <functional>

class CPatient;
class CPictureFrameView;
class CWords;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TFormMessage;

// "Własne materiały": the therapist's own words with their pictures and
// voices. The list shows every own word with its picture; a word is added,
// edited or deleted here. Its name is checked as it is typed; a picture from
// a file is framed in the 4:3 photo frame; a word without a recorded voice
// is spoken by the synthesizer when it is saved.
class TFormMaterial : public QDialog
{
public:
    using SPatientName = OwnMaterialTransfer::SPatient;

    // `words`: the content database, whose shipped names an own word may not
    // take (may be null). `message`: where notices and questions go.
    TFormMaterial(COwnMaterial& store, const CWords* words, QList<SPatientName> patients,
                  TFormMessage* message, QWidget* parent = nullptr);
    ~TFormMaterial() override;

    // The patients of the patient database, by name.
    static QList<SPatientName> ReadPatients(const CPatient& patient);

    // Where "Nagraj głos…" takes a voice from: given the text to be spoken,
    // it returns a WAVE image, or nothing when the therapist gave up. Unset,
    // the voice window records it or takes it from a sound file.
    std::function<QByteArray(const QString& text)> VoiceSource;

    // The controls, by their form names.
    QListWidget* lvSlowa = nullptr;
    QPushButton* btDodaj = nullptr;
    QPushButton* btEdytuj = nullptr;
    QPushButton* btUsun = nullptr;
    QPushButton* btZamknij = nullptr;
    QPushButton* btEksportuj = nullptr;
    QPushButton* btImportuj = nullptr;
    QGroupBox* gbSlowo = nullptr;
    QLineEdit* edNazwa = nullptr;
    QLabel* lbNazwaUwaga = nullptr;
    QPushButton* btEdytujIstniejace = nullptr;
    QCheckBox* cbKat[9] = {};
    QLineEdit* edZagadka = nullptr;
    QComboBox* cbPacjent = nullptr;
    QPushButton* btObrazek = nullptr;
    CPictureFrameView* pbKadr = nullptr;
    QPushButton* btPowieksz = nullptr;
    QPushButton* btPomniejsz = nullptr;
    QLabel* lbPodgladDuzy = nullptr;
    QLabel* lbPodgladMaly = nullptr;
    QLabel* lbGlos = nullptr;
    QPushButton* btNagrajGlos = nullptr;
    QPushButton* btNagrajZagadke = nullptr;
    QPushButton* btOdsluchajGlos = nullptr;
    QPushButton* btOdsluchajZagadke = nullptr;
    QPushButton* btZapisz = nullptr;
    QPushButton* btAnuluj = nullptr;

    // The editing steps, as the buttons run them.
    void AddWord();
    void EditWord(int id);
    void EditSelected();
    void DeleteSelected();
    bool SaveWord();
    void CancelWord();
    // A picture file for the word being edited; false (with a message) when
    // it cannot be read.
    bool LoadPictureFile(const QString& path);
    // All own material to one file, and back from one (with a report in the
    // message window); false when nothing was done.
    bool ExportTo(const QString& path);
    bool ImportFrom(const QString& path);
    // The voice of the name, or of the riddle, as a WAVE image.
    void SetVoice(const QByteArray& wave);
    void SetRiddleVoice(const QByteArray& wave);
    // Plays the voice of the name, or of the riddle: the one just taken, else
    // the stored one.
    void PlayVoice(bool riddle);
    // Why the name typed cannot be saved; empty when it can.
    QString NameProblem() const;
    // The own word being edited (Id 0: a new one); none while not editing.
    bool Editing() const { return m_editing; }
    int EditedId() const { return m_word.Id; }
    // Whether anything changed since the window opened.
    bool Changed() const { return m_changed; }

private:
    void Build();
    QWidget* BuildEditor();
    void ApplyLook();
    void FillList();
    void SelectInList(int id);
    void StartEditing(const COwnWord& word);
    void StopEditing();
    void CheckName();
    void ShowPreviews();
    void ShowVoice();
    QString StoredVoicePath(bool riddle) const;
    void RecordVoice(bool riddle);
    void ChoosePicture();
    void Tell(int kind, const QString& text);
    int SelectedId() const;

    COwnMaterial& m_store;
    const CWords* m_words;
    QList<SPatientName> m_patients;
    TFormMessage* m_message;
    bool m_editing = false;
    bool m_changed = false;
    bool m_pictureChanged = false;
    COwnWord m_word;
    COwnMaterial::SMedia m_media;
    int m_sameOwnId = 0;
};
