#pragma once
#include "mainwindow/CSkinTextButton.h"

#include <QRect>

class TFormMessage;

// The main window's way into the therapist's own recordings: a button in the
// column of main buttons, between "Pomoc" and "Start", that opens the window
// "Własne nagrania".
class COwnVoicesButton : public CSkinTextButton
{
public:
    explicit COwnVoicesButton(QWidget* mainWindow);

    void SetMessage(TFormMessage* message) { m_message = message; }
    // Places the button in the gap between the two main buttons, as wide as
    // they are.
    void Place(const QRect& above, const QRect& below);

private:
    void Open();

    TFormMessage* m_message = nullptr;
};
