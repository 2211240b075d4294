#include "mainwindow/TFormOwnVoices.h"

#include "app/DisplayMode.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "content/OwnVoices.h"
#include "mainwindow/TFormMessage.h"
#include "mainwindow/TFormVoice.h"
#include "mainwindow/VoiceWindowLook.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

TFormOwnVoices::VoiceTaker& VoiceTakerSlot()
{
    static TFormOwnVoices::VoiceTaker taker;
    return taker;
}

TFormOwnVoices::ShowHook& ShowHookSlot()
{
    static TFormOwnVoices::ShowHook hook;
    return hook;
}

} // namespace

TFormOwnVoices::VoiceTaker TFormOwnVoices::SetVoiceTaker(VoiceTaker taker)
{
    return std::exchange(VoiceTakerSlot(), std::move(taker));
}

TFormOwnVoices::ShowHook TFormOwnVoices::SetShowHook(ShowHook hook)
{
    return std::exchange(ShowHookSlot(), std::move(hook));
}

QString TFormOwnVoices::VoiceCaption(bool own)
{
    return own ? QStringLiteral("własny") : QStringLiteral("syntetyczny");
}

bool TFormOwnVoices::ShowModal(QWidget* parent, TFormMessage* message, const QString& contentPath)
{
    CWords words;
    if (!words.Open(contentPath)) {
        if (message)
            message->Inform(TFormMessage::KindError,
                            QStringLiteral("Nie można wczytać materiału programu!"),
                            QStringLiteral("Proszę zainstalować program ponownie."));
        return false;
    }
    TFormOwnVoices form(parent, message, words);
    form.exec();
    return true;
}

TFormOwnVoices::TFormOwnVoices(QWidget* parent, TFormMessage* message, const CWords& words)
    : QDialog(parent), m_message(message)
{
    setObjectName(QStringLiteral("TFormOwnVoices"));
    setWindowTitle(QStringLiteral("Własne nagrania"));
    setModal(true);
    m_items.Load(words);
    BuildLayout();
    Fill();
}

TFormOwnVoices::~TFormOwnVoices() = default;

void TFormOwnVoices::BuildLayout()
{
    const double s = VoiceWindowScale();
    QVBoxLayout* column = AddVoicePanel(this, 1000, 760);
    QWidget* panel = column->parentWidget();

    auto* title = new QLabel(QStringLiteral("Własne nagrania"), panel);
    title->setFont(VoiceWindowFont(int(34 * s)));
    auto* note = new QLabel(QStringLiteral("Nagraj swój głos dla słowa, zagadki, przysłowia, "
                                           "podpisu czynności lub zwrotu. Własne nagranie "
                                           "zastępuje głos syntetyczny w każdym ćwiczeniu."),
                            panel);
    note->setFont(VoiceWindowFont(int(16 * s), false));
    note->setWordWrap(true);

    auto* filterRow = new QHBoxLayout;
    auto* kindCaption = new QLabel(QStringLiteral("Rodzaj:"), panel);
    kindCaption->setFont(VoiceWindowFont(int(18 * s)));
    m_kind = new QComboBox(panel);
    m_kind->setObjectName(QStringLiteral("cbRodzaj"));
    m_kind->setFont(VoiceWindowFont(int(18 * s)));
    for (int kind = 0; kind < COwnVoiceItems::KindCount; ++kind)
        m_kind->addItem(COwnVoiceItems::KindName(kind), kind);
    auto* searchCaption = new QLabel(QStringLiteral("Szukaj:"), panel);
    searchCaption->setFont(VoiceWindowFont(int(18 * s)));
    m_search = new QLineEdit(panel);
    m_search->setObjectName(QStringLiteral("edSzukaj"));
    m_search->setFont(VoiceWindowFont(int(18 * s), false));
    m_search->setClearButtonEnabled(true);
    filterRow->addWidget(kindCaption);
    filterRow->addWidget(m_kind, 1);
    filterRow->addSpacing(int(20 * s));
    filterRow->addWidget(searchCaption);
    filterRow->addWidget(m_search, 2);

    m_list = new QTreeWidget(panel);
    m_list->setObjectName(QStringLiteral("lvNagrania"));
    m_list->setFont(VoiceWindowFont(int(17 * s)));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Tekst"), QStringLiteral("Głos")});
    m_list->header()->setSectionResizeMode(ColumnText, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(ColumnVoice, QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(false);
    m_count = new QLabel(panel);
    m_count->setObjectName(QStringLiteral("lbLiczba"));
    m_count->setFont(VoiceWindowFont(int(15 * s), false));

    m_btRecord = AddVoiceButton(panel, "btNagraj", QStringLiteral("Nagraj własny głos…"));
    m_btPlay = AddVoiceButton(panel, "btOdsluchaj", QStringLiteral("Odsłuchaj"));
    m_btRemove = AddVoiceButton(panel, "btUsun", QStringLiteral("Przywróć głos syntetyczny"));
    m_btClose = AddVoiceButton(panel, "btZamknij", QStringLiteral("Zamknij"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_btRecord);
    buttons->addWidget(m_btPlay);
    buttons->addWidget(m_btRemove);
    buttons->addStretch(1);
    buttons->addWidget(m_btClose);

    column->addWidget(title);
    column->addWidget(note);
    column->addLayout(filterRow);
    column->addWidget(m_list, 1);
    column->addWidget(m_count);
    column->addLayout(buttons);

    connect(m_kind, &QComboBox::currentIndexChanged, this, &TFormOwnVoices::Fill);
    connect(m_search, &QLineEdit::textChanged, this, &TFormOwnVoices::Fill);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &TFormOwnVoices::UpdateButtons);
    connect(m_list, &QTreeWidget::itemActivated, this, &TFormOwnVoices::PlayClicked);
    connect(m_btRecord, &QPushButton::clicked, this, &TFormOwnVoices::RecordClicked);
    connect(m_btPlay, &QPushButton::clicked, this, &TFormOwnVoices::PlayClicked);
    connect(m_btRemove, &QPushButton::clicked, this, &TFormOwnVoices::RemoveClicked);
    connect(m_btClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormOwnVoices::Fill()
{
    StopContentSound();
    m_shown = m_items.Find(m_kind->currentData().toInt(), m_search->text());
    m_list->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(qsizetype(m_shown.size()));
    int own = 0;
    for (const COwnVoiceItems::SItem* item : m_shown) {
        const bool hasOwn = HasOwnVoice(item->SoundPath);
        own += hasOwn;
        rows << new QTreeWidgetItem(QStringList{item->Text, VoiceCaption(hasOwn)});
    }
    m_list->addTopLevelItems(rows);
    if (!rows.isEmpty())
        m_list->setCurrentItem(rows.front());
    m_count->setText(QStringLiteral("Pozycji: %1, z własnym głosem: %2").arg(rows.size()).arg(own));
    UpdateButtons();
}

const COwnVoiceItems::SItem* TFormOwnVoices::Current() const
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    return row >= 0 && size_t(row) < m_shown.size() ? m_shown[size_t(row)] : nullptr;
}

void TFormOwnVoices::UpdateRow()
{
    if (const auto* item = Current())
        m_list->currentItem()->setText(ColumnVoice, VoiceCaption(HasOwnVoice(item->SoundPath)));
    int own = 0;
    for (const COwnVoiceItems::SItem* item : m_shown)
        own += HasOwnVoice(item->SoundPath);
    m_count->setText(
        QStringLiteral("Pozycji: %1, z własnym głosem: %2").arg(m_shown.size()).arg(own));
}

void TFormOwnVoices::UpdateButtons()
{
    const auto* item = Current();
    m_btRecord->setEnabled(item != nullptr);
    m_btPlay->setEnabled(item != nullptr);
    m_btRemove->setEnabled(item && HasOwnVoice(item->SoundPath));
}

void TFormOwnVoices::RecordClicked()
{
    const auto* item = Current();
    if (!item)
        return;
    StopContentSound();
    const VoiceTaker& taker = VoiceTakerSlot();
    const std::optional<QByteArray> wave =
        taker ? taker(this, m_message, item->Text) : TFormVoice::Take(this, m_message, item->Text);
    if (!wave)
        return;
    if (!SaveOwnVoice(item->SoundPath, *wave)) {
        if (m_message)
            m_message->Inform(TFormMessage::KindError,
                              QStringLiteral("Nie udało się zapisać nagrania!"),
                              QStringLiteral("Na dysku może brakować miejsca."),
                              HasOwnVoice(item->SoundPath)
                                  ? QStringLiteral("Poprzednie własne nagranie zostało bez zmian.")
                                  : QStringLiteral("Zostaje głos syntetyczny."));
        return;
    }
    UpdateRow();
    UpdateButtons();
}

void TFormOwnVoices::PlayClicked()
{
    if (const auto* item = Current())
        PlayWv(item->SoundPath, true);
}

void TFormOwnVoices::RemoveClicked()
{
    const auto* item = Current();
    if (!item || !HasOwnVoice(item->SoundPath))
        return;
    StopContentSound();
    if (m_message && !m_message->Ask(QStringLiteral("Usunąć własne nagranie?"), item->Text,
                                     QStringLiteral("Wróci głos syntetyczny.")))
        return;
    if (!RemoveOwnVoice(item->SoundPath) && m_message)
        m_message->Inform(TFormMessage::KindError, QStringLiteral("Nie udało się usunąć nagrania!"),
                          QStringLiteral("Proszę sprawdzić uprawnienia do folderu Glosy."));
    UpdateRow();
    UpdateButtons();
}

void TFormOwnVoices::showEvent(QShowEvent* event)
{
    ApplyVoiceWindowLook(this);
    QDialog::showEvent(event);
    CallShowHookLater(this, ShowHookSlot());
}

void TFormOwnVoices::done(int result)
{
    StopContentSound();
    QDialog::done(result);
}
