#pragma once
#include <QFont>
#include <QString>
#include <QTimer>
#include <functional>

class QDialog;
class QPushButton;
class QVBoxLayout;
class QWidget;

// The look of the windows in which the therapist records voices: the main
// window's light blue (or, in the grey mode, its greys), navy captions in
// Arial (Liberation Sans), rounded buttons. Applied when a window is shown,
// so that it follows a colour switch.
QFont VoiceWindowFont(int pixels, bool bold = true);
QString VoiceWindowStyle(bool grey);
// Styles `window` for the current colour mode.
void ApplyVoiceWindowLook(QWidget* window);

// Sizes scale with the layout: 1 at 1280 x 960, less for the smaller ones.
double VoiceWindowScale();
// Gives `window` a fixed size of `width` x `height` design pixels (at 1280)
// and the program's dialog frame, and fills it with the rounded panel;
// returns the panel's column.
QVBoxLayout* AddVoicePanel(QDialog* window, int width, int height);
// A button of the panel in the windows' look.
QPushButton* AddVoiceButton(QWidget* panel, const char* name, const QString& text);

// Calls a window's show hook once the window runs modally, so that a test
// can work it.
template <class Form> void CallShowHookLater(Form* form, std::function<void(Form&)>& hook)
{
    if (!hook)
        return;
    QTimer::singleShot(0, form, [form, &hook] {
        if (form->isVisible() && hook)
            hook(*form);
    });
}
