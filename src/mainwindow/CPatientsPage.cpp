#include "mainwindow/CPatientsPage.h"
#include "mainwindow/CSkinTextButton.h"

#include "app/Universalfn.h"
#include "mainwindow/TFormMessage.h"
#include "patients/CPatient.h"
#include "patients/CPatientListItem.h"
#include "statistics/CStatistics.h"

#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QStyledItemDelegate>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>

const QString CPatientsPage::NamePlaceholder = QStringLiteral("<Wpisz nazwisko i imię>");

namespace {

QFont Arial(int pixels, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QPushButton* Marker(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->hide();
    return b;
}

} // namespace

// Hands the text of an in-place edit of a patient name to the page instead
// of writing it into the list; the page applies the name rules.
class CPatientsPage::CNameDelegate : public QStyledItemDelegate
{
public:
    explicit CNameDelegate(CPatientsPage* page) : QStyledItemDelegate(page), m_page(page) {}

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            m_page->lvPacjeciEdited(index, line->text());
    }

private:
    CPatientsPage* m_page;
};

CPatientsPage::CPatientsPage(QWidget* parent) : CMainPage(parent, "tshPacjent")
{
    lvPacjeci = new QTreeWidget(this);
    lvPacjeci->setObjectName(QStringLiteral("lvPacjeci"));
    lvPacjeci->setFont(Arial(16, true));
    lvPacjeci->setRootIsDecorated(false);
    lvPacjeci->setSelectionMode(QAbstractItemView::SingleSelection);
    lvPacjeci->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvPacjeci->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvPacjeci->setSortingEnabled(false);
    lvPacjeci->setColumnCount(3);
    lvPacjeci->setHeaderLabels({QStringLiteral("Nazwisko Imię"), QStringLiteral("Początek Terapii"),
                                QStringLiteral("Ostatnia Terapia")});
    lvPacjeci->header()->setSectionsClickable(false);
    lvPacjeci->header()->setSectionsMovable(false);
    lvPacjeci->setColumnWidth(0, 250);
    lvPacjeci->setColumnWidth(1, 150);
    lvPacjeci->setColumnWidth(2, 150);

    gbOpis = new QGroupBox(QStringLiteral("Opis"), this);
    gbOpis->setObjectName(QStringLiteral("gbOpis"));
    gbOpis->setFont(Arial(15, true));
    memoOpis = new QPlainTextEdit(gbOpis);
    memoOpis->setObjectName(QStringLiteral("memoOpis"));
    memoOpis->setFont(Arial(15, false));
    memoOpis->setFrameShape(QFrame::NoFrame);
    memoOpis->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QObject::connect(memoOpis, &QPlainTextEdit::textChanged, memoOpis,
                     [this] { LimitDescription(); });
    QObject::connect(memoOpis, &QPlainTextEdit::textChanged, this, [this] { memoOpisChange(); });

    auto* delegate = new CNameDelegate(this);
    lvPacjeci->setItemDelegateForColumn(0, delegate);
    // The rest of an edit (sorting, the list index) once the editor is gone.
    QObject::connect(delegate, &QAbstractItemDelegate::closeEditor, this,
                     [this] { EditingEnded(); });
    lvPacjeci->installEventFilter(this);
    lvPacjeci->viewport()->installEventFilter(this);

    btPacjentDodaj = Marker(this, "btPacjentDodaj", QStringLiteral("Dodaj"));
    btPacjentEdytuj = Marker(this, "btPacjentEdytuj", QStringLiteral("Edytuj"));
    btPacjentUsun = Marker(this, "btPacjentUsun", QStringLiteral("Usuń"));
    btWlasneMaterialy = new CSkinTextButton(QStringLiteral("Własne materiały…"), this);
    btWlasneMaterialy->setObjectName(QStringLiteral("btWlasneMaterialy"));
    QObject::connect(btWlasneMaterialy, &QPushButton::clicked, this, [this] {
        if (OnOwnMaterial)
            OnOwnMaterial();
    });
    resize(DesignWidth, DesignHeight);
    Arrange();
}

void CPatientsPage::SetListColour(unsigned colour)
{
    const QColor c(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    for (QWidget* w : {static_cast<QWidget*>(lvPacjeci), static_cast<QWidget*>(memoOpis)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Base, c);
        w->setPalette(p);
    }
}

void CPatientsPage::Arrange()
{
    // Design: 574 x 544; the list follows all four sides, the description box
    // the left, right and bottom, the buttons the left and bottom.
    const int dw = width() - DesignWidth;
    const int dh = height() - DesignHeight;
    lvPacjeci->setGeometry(0, 40, 573 + dw, 301 + dh);
    gbOpis->setGeometry(232, 356 + dh, 341 + dw, 173);
    memoOpis->setGeometry(8, 18, 325 + dw, 147);
    btPacjentDodaj->setGeometry(16, 364 + dh, 44, 44);
    btPacjentEdytuj->setGeometry(72, 364 + dh, 44, 44);
    btPacjentUsun->setGeometry(128, 364 + dh, 44, 44);
    btWlasneMaterialy->setGeometry(16, 480 + dh, 200, 40);
}

void CPatientsPage::LimitDescription()
{
    // The memo holds at most 4000 characters (as the user counts them, not
    // in UTF-16 units): a longer paste is cut.
    const QString text = memoOpis->toPlainText();
    const QString kept = LeftCharacters(text, MaxDescription);
    if (kept.size() == text.size())
        return;
    QTextCursor cursor = memoOpis->textCursor();
    const int position = std::min<int>(cursor.position(), kept.size());
    memoOpis->setPlainText(kept);
    cursor = memoOpis->textCursor();
    cursor.setPosition(position);
    memoOpis->setTextCursor(cursor);
}

void CPatientsPage::Bind(CPatient* patient, CStatistics* statistics)
{
    m_patient = patient;
    m_statistics = statistics;
    FillList();
    WatchChanges();
}

void CPatientsPage::WatchChanges()
{
    // On a clinic database the others' changes to the list arrive on the
    // connection's socket.
    delete m_changes;
    m_changes = nullptr;
    if (m_patient->ChangeSocket() >= 0) {
        m_changes = new QSocketNotifier(m_patient->ChangeSocket(), QSocketNotifier::Read, this);
        QObject::connect(m_changes, &QSocketNotifier::activated, this, [this] { OthersChanged(); });
    }
}

void CPatientsPage::FillList()
{
    m_patient->FillList(lvPacjeci);
    for (int i = 0; i < lvPacjeci->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lvPacjeci->topLevelItem(i);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
}

void CPatientsPage::OthersChanged()
{
    // A name being typed here is not disturbed; the list follows afterwards.
    if (m_patient->TakeListChanges() && !m_editing)
        FillList();
    // A lost connection's socket is closed; the next one is watched once the
    // connection is made anew.
    if (!m_patient->StoreReachable() && m_changes) {
        m_changes->setEnabled(false);
        m_changes->deleteLater();
        m_changes = nullptr;
    }
}

bool CPatientsPage::RefuseBusy(int id)
{
    const QString holder = m_patient->BusyOn(id);
    if (holder.isEmpty())
        return false;
    if (m_message)
        m_message->Inform(TFormMessage::KindWarning,
                          QStringLiteral("Ten pacjent jest otwarty na stanowisku:"),
                          QStringLiteral("\u201e") + holder + QStringLiteral("\u201d"),
                          QStringLiteral("Można go wybrać, gdy tam zostanie zamknięty."));
    SelectListIndex();
    return true;
}

void CPatientsPage::ShowDescription()
{
    memoOpis->setPlainText(m_patient->Description());
    // Text typed without an active patient would be kept nowhere.
    memoOpis->setReadOnly(m_patient->ActiveId() == -1);
}

bool CPatientsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_patient)
        return CMainPage::eventFilter(watched, event);
    if (watched == lvPacjeci->viewport()) {
        // Once the list has handled the whole click.
        if (event->type() == QEvent::MouseButtonRelease)
            QTimer::singleShot(0, this, [this] { lvPacjeciClick(); });
        else if (event->type() == QEvent::MouseButtonDblClick &&
                 lvPacjeci->selectedItems().size() != 1)
            SelectListIndex();
    } else if (watched == lvPacjeci && event->type() == QEvent::KeyRelease) {
        lvPacjeciKeyUp();
    } else if (watched == lvPacjeci && event->type() == QEvent::FocusIn) {
        // The list makes its first row current when it gets the focus with
        // none; without an active patient no row may look current.
        QTimer::singleShot(0, this, [this] {
            if (!ActiveItem() && !m_editing)
                SelectListIndex();
        });
    }
    return CMainPage::eventFilter(watched, event);
}

void CPatientsPage::ActivePatientChanged()
{
    if (OnActivePatientChanged)
        OnActivePatientChanged();
}

bool CPatientsPage::Ask(const QString& r1, const QString& r2, const QString& r3, const QString& r4)
{
    return m_message && m_message->Ask(r1, r2, r3, r4);
}

QTreeWidgetItem* CPatientsPage::ActiveItem() const
{
    if (!m_patient)
        return nullptr;
    const int index = m_patient->ListIndex();
    if (m_patient->ActiveId() == -1 || index < 0 || index >= lvPacjeci->topLevelItemCount())
        return nullptr;
    QTreeWidgetItem* item = lvPacjeci->topLevelItem(index);
    return item->data(0, Qt::UserRole).toInt() == m_patient->ActiveId() ? item : nullptr;
}

void CPatientsPage::SelectListIndex()
{
    QTreeWidgetItem* item = ActiveItem();
    if (!item) {
        lvPacjeci->selectionModel()->clear();
        return;
    }
    lvPacjeci->setCurrentItem(item);
    item->setSelected(true);
}

void CPatientsPage::lvPacjeciClick()
{
    if (m_editing)
        return;
    const QList<QTreeWidgetItem*> selected = lvPacjeci->selectedItems();
    if (selected.size() == 1) {
        const int id = selected.front()->data(0, Qt::UserRole).toInt();
        if (id != m_patient->ActiveId() && RefuseBusy(id))
            return;
        m_patient->SetListIndex(lvPacjeci->indexOfTopLevelItem(selected.front()));
        m_patient->Select(id);
        ActivePatientChanged();
    } else if (lvPacjeci->topLevelItemCount() > 0) {
        SelectListIndex();
    }
}

void CPatientsPage::lvPacjeciKeyUp()
{
    if (m_editing)
        return;
    if (lvPacjeci->currentItem() != ActiveItem())
        SelectListIndex();
}

void CPatientsPage::StartEditing(QTreeWidgetItem* item)
{
    // Only the add and edit actions start editing; a click never does.
    if (item->text(0).isEmpty()) {
        item->setText(0, NamePlaceholder);
        m_patient->SetName(NamePlaceholder);
    }
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    m_editing = true;
    lvPacjeci->editItem(item, 0);
}

QString CPatientsPage::CleanName(const QString& text)
{
    // Cut in characters, then trimmed again: a cut may end on a blank.
    const QString name = LeftCharacters(text.trimmed(), MaxNameLength).trimmed();
    return name.isEmpty() ? NamePlaceholder : name;
}

void CPatientsPage::lvPacjeciEdited(const QModelIndex& index, const QString& text)
{
    // Only the active patient's row is ever edited; its name is kept at once,
    // and shown once it is kept.
    QTreeWidgetItem* item = lvPacjeci->itemFromIndex(index);
    if (!item || item != ActiveItem())
        return;
    const QString name = CleanName(text);
    m_patient->SetName(name);
    m_patient->Save();
    item->setText(0, name);
    if (OnNameChanged)
        OnNameChanged(name);
}

void CPatientsPage::EditingEnded()
{
    m_editing = false;
    QTreeWidgetItem* edited = ActiveItem();
    lvPacjeci->sortItems(0, Qt::AscendingOrder);
    m_patient->SetListIndex(lvPacjeci->indexOfTopLevelItem(edited));
}

void CPatientsPage::memoOpisChange()
{
    if (m_patient && m_patient->ActiveId() != -1)
        m_patient->SetDescription(memoOpis->toPlainText());
}

void CPatientsPage::AddPatient()
{
    m_patient->Add();
    ActivePatientChanged();
    auto* item = new CPatientListItem(lvPacjeci);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(0, Qt::UserRole, m_patient->CurrentId());
    item->setText(1, m_patient->StartDateText());
    item->setText(2, m_patient->LastDateText());
    lvPacjeci->setCurrentItem(item);
    item->setSelected(true);
    m_patient->SetListIndex(lvPacjeci->indexOfTopLevelItem(item));
    if (OnShowPage)
        OnShowPage();
    StartEditing(item);
}

void CPatientsPage::EditPatient()
{
    QTreeWidgetItem* item = ActiveItem();
    if (!item)
        return;
    if (item->text(0) == NamePlaceholder)
        item->setText(0, QString());
    StartEditing(item);
}

void CPatientsPage::DeletePatient()
{
    QTreeWidgetItem* item = ActiveItem();
    if (!item)
        return;
    if (!Ask(QStringLiteral("Czy naprawdę chcesz usunąć pacjenta?")))
        return;
    if (m_statistics->HasRecordings()) {
        if (!Ask(QStringLiteral("Dla tego pacjenta istnieją nagrania"),
                 QStringLiteral("i zostaną one również usunięte."), QString(),
                 QStringLiteral("Czy chcesz kontynuować usuwanie?")))
            return;
    }
    const int oldIndex = lvPacjeci->indexOfTopLevelItem(item);
    // The patient and its therapies leave the database first; its recordings
    // go once that has succeeded, never before.
    const int deleted = m_patient->ActiveId();
    m_patient->Delete();
    m_statistics->DeleteRecordingFiles(deleted);
    delete lvPacjeci->takeTopLevelItem(oldIndex);
    const int count = lvPacjeci->topLevelItemCount();
    const int index = std::min(oldIndex, count - 1);
    const int next = count > 0 ? lvPacjeci->topLevelItem(index)->data(0, Qt::UserRole).toInt() : -1;
    // The neighbour becomes active unless another workstation has it open.
    if (next >= 0 && m_patient->BusyOn(next).isEmpty()) {
        m_patient->SetListIndex(index);
        m_patient->Select(next);
        SelectListIndex();
    } else {
        lvPacjeci->selectionModel()->clear();
        m_patient->SetListIndex(-1);
    }
    ActivePatientChanged();
    lvPacjeci->setFocus();
}
