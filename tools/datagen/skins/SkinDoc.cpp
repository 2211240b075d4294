#include "SkinMap.h"

#include <QStringList>

namespace {
const char* kPreamble = R"md(# Skins: the index map

Generated from the skin map of the data build (`tools/datagen/skins/SkinMap.cpp`,
`SkinMapMarkdown()`); the data build writes it to `<work>/skins/skins.md` and a test
keeps this file equal to it. The painter draws every index below, the index check
tests every index below, and nothing else decides a skin's size.

## Reading the table

- **Mode**: the display mode in which the program reads the image unscaled.
  "1280x960": read in 1280x960; 800x600 scales it by 5/8.
  "1024x768": read in 1024x768.
  "1280x960 and 1024x768": the same image in both; 800x600 scales it.
  "all modes": never scaled.
  "1024x768 (scaled in the others)": the layout writes it for 1024x768 only.
- **Size**: width x height in pixels. Masks always have their image's size; the
  three states of a button have one size.
- **Fixed**: the size is required by a layout (window, paint box, photo), not chosen.
- Images are 24-bit BMP, or JPEG from 100,000 pixels on; masks 8-bit grey BMP,
  0 = background, 255 = image, soft edges between.

## How the sizes follow from the layouts

- Where a layout gives positions for one mode only, the skins are designed for
  1024x768 and multiplied by 5/4 for 1280x960, the layouts' own factor.
- Window backgrounds, help and information backgrounds: the design size of the mode.
  The main background lays out the regions the main window uses: the page area
  (250, 100, 582 x 554 at 1024x768), the name field (357, 28, 514 x 22), the right-hand
  button column (x 920) and the bookmark strip (21, 73).
- Bookmark strip: the paint box, 260 x 796 (1280x960) and 210 x 638 (1024x768); the
  tab rectangles and the squares are where the strip's layout puts them; the tick
  is the square's size (26 and 20).
- Menu strip: `pbMenu`, 1280 x 89 and 1024 x 71. Navigation buttons fit between their
  positions (back 680, forward 750, hint 870, stop 950 at 1024x768): 64 x 64, and
  80 x 80 in 1280x960; the stop button is one image for both modes, 64 x 64.
- Exercise menu: the box fits from x 370 to the back button (290 x 48); its caption at
  (13, 9) and the item height 30 give the title pictures 230 x 28 (288 x 35), short of the drop arrow; the header, the
  footer and the item backgrounds have the box's width.
- Photo: the frame is centred in the exercise area (left 262 of 1024), the photo sits
  at (5, 4) in it, so frame = photo + (10, 8). Photos are 4:3: 490 x 368 in 1024x768
  (`zdjar3.bb`) and 616 x 462 in 1280x960 (`zdjar5.bb`, also scaled for 800x600);
  `tools/datagen/PhotoSize.h` holds these for the photo archives. The ZO placeholder
  takes the photo size.
- Labels: width from their left edge, centred in the exercise area (e.g. 312 at 1024
  gives 400); height from the text rectangle and from the next label below: the
  PWP hint and input labels are 68 apart at 1280x960, the DC captions 86, so those
  labels are 68 and 84 high there.
- Letter tiles: 16 columns in two rows at the bottom of the exercise area must stay
  below the ZO input label (654 + 72 at 1280x960): 72 x 72, and 58 x 58 in 1024x768.
  The dim overlay has the tile's size.
- Sequence cards: three counting cards at x 48, 381 and 702 (1024x768) are 274 wide;
  day and month cards at x 381 are 262 wide (centred).
- Main buttons: the column at x 920 between y 102 and 716 gives 88 x 70; the start
  button between the help and colour buttons 100 x 200 (125 x 250 at (1148, 435) in
  1280x960). Patient buttons 48 x 48 (markers 56 apart), statistics buttons 44 x 44
  (their markers), message and result buttons 64 x 64 (between the markers of both
  windows), close button 64 x 64 (it must fit at 800x600 too).
- Information background: a panel under the text block of the window's labels
  (260, 326, 640 x 450 at 1280x960); the top-left corner stays free for the version.
- The message / result frame source is 200 x 200: corners 65 wide, a top band of 125
  and a bottom band of 65; its middle rows and columns are plain so that they tile.
)md";

QString SizeText(QSize s)
{
    return QString("%1 x %2").arg(s.width()).arg(s.height());
}
} // namespace

QString SkinMapMarkdown()
{
    QString md = QString::fromUtf8(kPreamble);
    const SkinFile files[3] = {SkinFile::Grwin, SkinFile::Bttofa, SkinFile::Cextb};
    for (SkinFile f : files) {
        md += "\n## Data/" + SkinFileName(f) + "\n\n";
        md += "| Index | Role | Shows | Mode | Size | Mask | Fixed |\n";
        md += "|---|---|---|---|---|---|---|\n";
        for (const SkinIndexRow& row : SkinIndexRows(f)) {
            const SkinItem& it = *row.item;
            QString mask = "none";
            if (row.role == "mask")
                mask = it.image >= 0 ? QString("of %1").arg(it.image) : "(mask only)";
            else if (it.mask >= 0)
                mask = QString::number(it.mask);
            QString role = row.role;
            if (row.role == "grey image")
                role = QString("grey of %1").arg(it.image);
            else if (row.role == "image" && it.mono >= 0)
                role = QString("image (grey %1)").arg(it.mono);
            md += QString("| %1 | %2 | %3 | %4 | %5 | %6 | %7 |\n")
                      .arg(row.index)
                      .arg(role, it.shows, SkinModeText(it.mode), SizeText(it.size), mask,
                           it.fixedSize ? "yes" : "");
        }
    }
    md += "\n## Data/sp.b\n\nThe splash picture: a JPEG file, 592 x 296, the program's name.\n";
    return md;
}
