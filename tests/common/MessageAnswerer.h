#pragma once
#include "graphics/CTransButton.h"
#include "mainwindow/TFormMessage.h"

#include <QKeyEvent>
#include <QLabel>
#include <QList>
#include <QStringList>
#include <QTest>
#include <memory>

// Stands in for the therapist at the program's message window: records what
// each message showed and answers by clicking its skinned buttons. Once the
// answers are used up, questions get "Nie" and notices "OK", so that nothing
// is ever deleted by accident.
class MessageAnswerer
{
public:
    enum EAnswer
    {
        Tak,
        Nie,
        OK,
        Escape,
    };
    struct Shown
    {
        int kind = 0;
        QStringList rows;    // the four lines as shown
        QList<QRect> places; // where the four lines are
        QList<int> fontPixels;
        bool tak = false, nie = false, ok = false; // buttons visible
        QRect takPlace, niePlace, okPlace;
        QPoint position; // of the window
    };

    explicit MessageAnswerer(QList<EAnswer> answers = {}) : m_answers(std::move(answers))
    {
        m_previous = TFormMessage::SetShowHook([this](TFormMessage& form) { Respond(form); });
    }
    ~MessageAnswerer() { TFormMessage::SetShowHook(m_previous); }
    MessageAnswerer(const MessageAnswerer&) = delete;
    MessageAnswerer& operator=(const MessageAnswerer&) = delete;

    QList<Shown> shown;

private:
    void Respond(TFormMessage& form)
    {
        Shown s;
        s.kind = form.Kind();
        for (int i = 0; i < TFormMessage::RowCount; ++i) {
            s.rows << form.Row(i)->text();
            s.places << form.Row(i)->geometry();
            s.fontPixels << form.Row(i)->font().pixelSize();
        }
        s.tak = form.ButtonTak()->isVisible();
        s.nie = form.ButtonNie()->isVisible();
        s.ok = form.ButtonOK()->isVisible();
        s.takPlace = form.ButtonTak()->geometry();
        s.niePlace = form.ButtonNie()->geometry();
        s.okPlace = form.ButtonOK()->geometry();
        s.position = form.pos();
        shown << s;
        EAnswer a = s.ok ? OK : Nie;
        if (!m_answers.isEmpty())
            a = m_answers.takeFirst();
        CTransButton* button = a == Tak   ? form.ButtonTak()
                               : a == Nie ? form.ButtonNie()
                                          : form.ButtonOK();
        if (a == Escape)
            QTest::keyClick(&form, Qt::Key_Escape);
        else
            QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        // An answer that did not close the window (a hidden button) must not
        // leave the test waiting.
        if (form.isVisible())
            form.reject();
    }

    QList<EAnswer> m_answers;
    TFormMessage::ShowHook m_previous;
};

// The program's message window over the test's skins, for the tests of the
// windows that report to it: the window, its skins, and a sound function of
// the test's (silent by default) in place of the beep while it is open.
class MessageWindowFixture
{
public:
    MessageWindowFixture() = default;
    ~MessageWindowFixture() { Close(); }
    MessageWindowFixture(const MessageWindowFixture&) = delete;
    MessageWindowFixture& operator=(const MessageWindowFixture&) = delete;

    // False (and no window) without both skins.
    bool Open(
        std::unique_ptr<CBitmapsContainer> windowSkins,
        std::unique_ptr<CBitmapsContainer> buttonSkins,
        TFormMessage::SoundFunction sound = [](int) {})
    {
        Close();
        windows = std::move(windowSkins);
        buttons = std::move(buttonSkins);
        if (!windows || !buttons)
            return false;
        form = std::make_unique<TFormMessage>(windows.get(), buttons.get());
        m_previous = TFormMessage::SetSoundFunction(std::move(sound));
        m_open = true;
        return true;
    }
    void Close()
    {
        form.reset();
        if (m_open)
            TFormMessage::SetSoundFunction(m_previous);
        m_open = false;
    }
    TFormMessage* get() const { return form.get(); }

    std::unique_ptr<CBitmapsContainer> windows;
    std::unique_ptr<CBitmapsContainer> buttons;
    std::unique_ptr<TFormMessage> form;

private:
    TFormMessage::SoundFunction m_previous;
    bool m_open = false;
};
