#pragma once
#include "content/COwnVoiceItems.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class CWords;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class TFormMessage;

// "Własne nagrania": the therapist picks any word, riddle, proverb half,
// activity caption or phrase of the shipped material (a list by kind, with a
// search) and records their own voice for it, listens to it, or removes it to
// bring back the synthetic voice. The recordings are kept for this
// installation (OwnVoices.h) and play wherever the sound is played.
class TFormOwnVoices : public QDialog
{
public:
    static constexpr int ColumnText = 0;
    static constexpr int ColumnVoice = 1;

    // Loads the material from `contentPath`; a message and false when it
    // cannot be read.
    static bool ShowModal(QWidget* parent, TFormMessage* message,
                          const QString& contentPath = QStringLiteral("Data/sdrow.qp"));

    TFormOwnVoices(QWidget* parent, TFormMessage* message, const CWords& words);
    ~TFormOwnVoices() override;

    // Takes the voice for an item (default: TFormVoice::Take); nothing: none.
    using VoiceTaker = std::function<std::optional<QByteArray>(
        QWidget* parent, TFormMessage* message, const QString& what)>;
    static VoiceTaker SetVoiceTaker(VoiceTaker taker);
    // Called each time the window has been shown and runs modally.
    using ShowHook = std::function<void(TFormOwnVoices&)>;
    static ShowHook SetShowHook(ShowHook hook);

    QComboBox* KindBox() const { return m_kind; }
    QLineEdit* SearchEdit() const { return m_search; }
    QTreeWidget* List() const { return m_list; }
    QPushButton* ButtonRecord() const { return m_btRecord; }
    QPushButton* ButtonPlay() const { return m_btPlay; }
    QPushButton* ButtonRemove() const { return m_btRemove; }
    QPushButton* ButtonClose() const { return m_btClose; }
    // The item of the current row, or null.
    const COwnVoiceItems::SItem* Current() const;
    static QString VoiceCaption(bool own);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void BuildLayout();
    void Fill();
    void UpdateRow();
    void UpdateButtons();
    void RecordClicked();
    void PlayClicked();
    void RemoveClicked();

    TFormMessage* m_message;
    COwnVoiceItems m_items;
    std::vector<const COwnVoiceItems::SItem*> m_shown;
    QComboBox* m_kind = nullptr;
    QLineEdit* m_search = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_count = nullptr;
    QPushButton* m_btRecord = nullptr;
    QPushButton* m_btPlay = nullptr;
    QPushButton* m_btRemove = nullptr;
    QPushButton* m_btClose = nullptr;
};
