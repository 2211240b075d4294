#pragma once
#include "graphics/CBitmapsContainer.h"

#include <QImage>
#include <QMargins>
#include <QObject>

class QWidget;

// The skinned frame of the program's dialogs, as the message window has it:
// a round-cornered window without the window system's frame, its face tiled
// from the skin's frame picture (the navy edge and the title band), centred
// over the program. Given to a dialog, it paints the face under the dialog's
// widgets and follows its size and the colour mode (the skin is read anew
// each time the dialog is shown). The dialog's layout keeps ContentMargins
// free so that the edge and the band show.
class CDialogFrame : public QObject
{
public:
    explicit CDialogFrame(QWidget* dialog, CBitmapsContainer* windows = WindowsContainer);

    // The room the edge and the title band take, in design pixels.
    static QMargins ContentMargins();
    // The face for the current size (empty without a skin).
    const QImage& Face() const { return m_face; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Rebuild();

    QWidget* m_dialog;
    CBitmapsContainer* m_windows;
    QImage m_face;
};
