#pragma once
#include <QFont>
#include <QString>

class QWidget;

// The look of the windows in which the therapist records voices: the main
// window's light blue (or, in the grey mode, its greys), navy captions in
// Arial (Liberation Sans), rounded buttons. Applied when a window is shown,
// so that it follows a colour switch.
QFont VoiceWindowFont(int pixels, bool bold = true);
QString VoiceWindowStyle(bool grey);
// Styles `window` for the current colour mode.
void ApplyVoiceWindowLook(QWidget* window);
