#pragma once
#include "graphics/CTransButton.h"

#include <functional>

class CDynamicPlace;
class CSharedKomps;
class QImage;

// The replay button of the film exercises (DC, PNC): a button over the
// exercise area, composed over the exercise bitmap and drawn into it as well,
// so that a repaint of the area shows it as the button shows itself. A quick
// second click is another replay, not a double click.
class CReplayButton : public CTransButton
{
public:
    CReplayButton(CSharedKomps& shared, std::function<void()> onClick);

    // Adds the button's entries to `places`: its centre (1280 x 960: 1000,
    // 292) and its three looks. Returns the 1-based position of the first.
    static int AddEntries(CDynamicPlace& places);
    // Takes place and looks from the entries at `place` (after a change of
    // the colour mode, too) and composes its looks again.
    void PlaceAt(CDynamicPlace& places, int place);
    // Draws the current look into `bitmap`, which shows the exercise area
    // `area`, while the button is visible; its looks are then composed again
    // over the new picture.
    void DrawInto(QImage& bitmap, const QWidget* area);

private:
    const CTransBitmap& CurrentLook();
};
