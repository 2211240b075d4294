#pragma once

class CDynamicPlace;

// Appends the main window's bookmark strip entries (paint box, strip images,
// tick, bookmark areas, squares) in the order CKompBookmarks::Setup reads
// them; returns the position of the first entry for Set_iCurrent.
int AddBookmarkLayout(CDynamicPlace& layout);
