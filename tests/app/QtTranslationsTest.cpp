// Qt's own texts speak Polish, as the rest of the program does: the test
// programs' start loads the catalogue as the program's start does.
#include "app/QtTranslations.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList ActionTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        if (!action->isSeparator())
            texts.append(action->text().section('\t', 0, 0));
    return texts;
}

} // namespace

TEST(QtTranslations, StandardButtonsArePolish)
{
    QMessageBox box(QMessageBox::Information, "Loquena Cz. I", "?",
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "OK");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Anuluj");
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No |
                             QDialogButtonBox::Close);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text(), "&Tak");
    EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text(), "&Nie");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Close)->text(), "Zamknij");
}

TEST(QtTranslations, EditorsContextMenusArePolish)
{
    QLineEdit line;
    QPlainTextEdit memo;
    const std::unique_ptr<QMenu> lineMenu(line.createStandardContextMenu());
    const std::unique_ptr<QMenu> memoMenu(memo.createStandardContextMenu());
    const QStringList polish{"&Cofnij", "&Przywróć", "W&ytnij",         "S&kopiuj",
                             "&Wklej",  "Usuń",      "Zaznacz wszystko"};
    EXPECT_EQ(ActionTexts(*lineMenu), polish);
    EXPECT_EQ(ActionTexts(*memoMenu), polish);
}
