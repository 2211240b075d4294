#pragma once
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

// The index map of the three skin containers: every image that a layout table
// of the program names, with its size, its display mode, its grey variant and
// its mask. The painter draws from it, the index check tests against it and
// docs/skins.md is generated from it, so the three cannot drift apart.

enum class SkinFile
{
    Grwin,  // Data/grwin.bc: window backgrounds, bookmark strip, frames
    Bttofa, // Data/bttofa.bc: the buttons of the main, message, result, info and help windows
    Cextb   // Data/cextb.bc: the therapy window, its menu, letters and exercise controls
};

enum class SkinMode
{
    Only1280,        // read in 1280x960; 800x600 is scaled from it
    Only1024,        // read in 1024x768
    Only1280And1024, // the same image read in 1280x960 and 1024x768; 800x600 scaled
    AllModes,        // the same image in every display mode, never scaled
    Scaled1024       // drawn for 1024x768, scaled for 1280x960 and 800x600
};

struct SkinImages
{
    QImage image; // Format_BGR888
    QImage mono;  // Format_BGR888, when the item has a grey variant
    QImage mask;  // Format_Grayscale8, when the item owns its mask
};

struct SkinItem
{
    SkinFile file = SkinFile::Cextb;
    SkinMode mode = SkinMode::AllModes;
    QString shows;
    QSize size;
    int image = -1;         // colour image index
    int mono = -1;          // grey variant index, -1 when none
    int mask = -1;          // mask index, -1 when none
    bool ownsMask = false;  // false: the mask belongs to another item (same size)
    bool fixedSize = false; // the size is required by a layout (window, paint box, photo)
    bool jpeg = false;      // stored as JPEG (large pictures)
    std::function<SkinImages()> paint;
};

const std::vector<SkinItem>& SkinMap();

QString SkinFileName(SkinFile file); // "grwin.bc", ...
QString SkinModeText(SkinMode mode);

// One row per index of one container.
struct SkinIndexRow
{
    int index;
    QString role; // "image", "grey image", "mask"
    const SkinItem* item;
};
std::vector<SkinIndexRow> SkinIndexRows(SkinFile file);

// docs/skins.md as generated from the map.
QString SkinMapMarkdown();

// The splash picture Data/sp.b.
QImage PaintSplash();
// Raised whenever the painter's output changes, so that the data build redraws.
inline constexpr int SkinPainterVersion = 6;
