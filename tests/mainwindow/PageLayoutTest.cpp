// The pages of the main window at each screen size: every group, caption,
// check box, radio button and scroll bar lies inside its group and its page,
// no two overlap, and every caption fits its control in the font it is drawn
// with.
#include "MainFixture.h"
#include "mainwindow/CMainPage.h"
#include "mainwindow/CSettingsPages.h"
#include "mainwindow/MainPages.h"
#include "mainwindow/TFormMain.h"
#include "mainwindow/TFormMessage.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <gtest/gtest.h>

using main_fixture::ProgramFolder;

namespace {

QString Describe(const QWidget* w)
{
    QString text;
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        text = b->text();
    else if (auto* g = qobject_cast<const QGroupBox*>(w))
        text = g->title();
    else if (auto* l = qobject_cast<const QLabel*>(w))
        text = l->text();
    return QStringLiteral("%1 \"%2\" %3,%4 %5x%6")
        .arg(w->objectName(), text)
        .arg(w->x())
        .arg(w->y())
        .arg(w->width())
        .arg(w->height());
}

// Where a group box draws its caption, as its style places it.
QRect CaptionRect(const QGroupBox* g)
{
    QStyleOptionGroupBox option;
    option.initFrom(g);
    option.text = g->title();
    option.lineWidth = 1;
    option.textAlignment = g->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return g->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, g);
}

// What the user works with; label boxes may overlap as long as their texts
// fit (checked on their own).
bool IsControl(const QWidget* w)
{
    return qobject_cast<const QGroupBox*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QScrollBar*>(w);
}

// The text without the blanks that end it (nothing to see there).
QString Visible(const QString& text)
{
    QString t = text;
    while (t.endsWith(QLatin1Char(' ')))
        t.chop(1);
    return t;
}

// What does not fit on `parent` and below it, one line per fault.
void CollectFaults(const QWidget* parent, QStringList& faults)
{
    int top = 0;
    if (auto* g = qobject_cast<const QGroupBox*>(parent)) {
        const QRect caption = CaptionRect(g);
        if (caption.left() + g->fontMetrics().horizontalAdvance(Visible(g->title())) > g->width())
            faults << QStringLiteral("caption cut: ") + Describe(g);
        top = caption.bottom() + 1;
    }
    QList<const QWidget*> shown;
    for (const QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isHidden() && (IsControl(w) || qobject_cast<const QLabel*>(w)))
            shown << w;
    for (const QWidget* w : shown) {
        const QRect place = w->geometry();
        if (!parent->rect().contains(place) || place.top() < top)
            faults << QStringLiteral("outside %1: ").arg(parent->objectName()) + Describe(w);
        if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
            const int width = b->sizeHint().width();
            const int height = b->fontMetrics().height();
            if (width > b->width() || height > b->height())
                faults << QStringLiteral("caption cut (needs %1x%2): ").arg(width).arg(height) +
                              Describe(b);
        }
        if (auto* l = qobject_cast<const QLabel*>(w); l && !l->wordWrap()) {
            const QFontMetrics fm = l->fontMetrics();
            if (fm.horizontalAdvance(l->text()) > l->width() || fm.height() > l->height())
                faults << QStringLiteral("text cut: ") + Describe(l);
        }
        for (const QWidget* other : shown)
            if (other < w && IsControl(w) && IsControl(other) &&
                place.intersects(other->geometry()))
                faults << QStringLiteral("overlap: ") + Describe(w) + " / " + Describe(other);
        CollectFaults(w, faults);
    }
}

class PageLayoutTest : public ::testing::TestWithParam<QSize>
{
protected:
    void SetUp() override
    {
        SetDisplayModeFor(GetParam().width(), GetParam().height());
        ColorMode = CM_COLOR;
        ASSERT_TRUE(folder.ok());
        previousSound = TFormMessage::SetSoundFunction([](int) {});
        form = std::make_unique<TFormMain>();
        form->SetWaitPause(0);
        message = std::make_unique<TFormMessage>();
        form->SetMessageForm(message.get());
        form->show();
    }
    void TearDown() override
    {
        message.reset();
        form.reset();
        TFormMessage::SetSoundFunction(previousSound);
        ColorMode = CM_COLOR;
        SetDisplayModeFor(1024, 768);
    }

    // Every page shown in turn: the faults of all of them.
    QStringList Faults()
    {
        QStringList faults;
        for (int i = 0; i < MainPages::Count; ++i) {
            form->PageControl()->setCurrentIndex(i);
            CMainPage* page = form->Page(i);
            QStringList own;
            CollectFaults(page, own);
            if (page->Title() && !page->rect().contains(page->Title()->geometry()))
                own << QStringLiteral("title cut: ") + Describe(page->Title());
            for (const QString& f : own)
                faults << page->objectName() + ": " + f;
        }
        return faults;
    }

    ProgramFolder folder;
    TFormMessage::SoundFunction previousSound;
    std::unique_ptr<TFormMain> form;
    std::unique_ptr<TFormMessage> message;
};

TEST_P(PageLayoutTest, EveryControlFitsItsGroupAndPage)
{
    const QStringList faults = Faults();
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
}

// The longest paging caption still fits after a patient's time is shown, and
// in grey nothing moves.
TEST_P(PageLayoutTest, LongestCaptionsAndGreyStillFit)
{
    CSettingsPages* pages = form->SettingsPages();
    for (int e = 0; e < CSettingsPages::PageCount; ++e)
        if (QRadioButton* rb = pages->Page(e).rbAuto)
            CSettingsPages::ShowAutoTime(rb, 240);
    form->actMonoKolor->trigger();
    const QStringList faults = Faults();
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Screens, PageLayoutTest,
                         ::testing::Values(QSize(800, 600), QSize(1024, 768), QSize(1280, 1024)),
                         [](const auto& info) {
                             return std::to_string(info.param.width()) + "x" +
                                    std::to_string(info.param.height());
                         });

} // namespace
