#include "mainwindow/CPatientsPage.h"

#include "app/Universalfn.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTreeWidget>

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

    btPacjentDodaj = Marker(this, "btPacjentDodaj", QStringLiteral("Dodaj"));
    btPacjentEdytuj = Marker(this, "btPacjentEdytuj", QStringLiteral("Edytuj"));
    btPacjentUsun = Marker(this, "btPacjentUsun", QStringLiteral("Usuń"));
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
