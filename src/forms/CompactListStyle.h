#pragma once
// The style of the narrow drop-down lists of the dialogs ("Linkwitz-Riley
// 24 dB/Oct" in 96 dialog units, "10.0" in 29). The platform's list arrow was
// narrower than the toolkit's, so the arrow gives back the difference to the
// text; and a list drops down below its field with the height of its template
// rectangle and a scroll bar, as the platform's lists did. Everything else is
// drawn by the application's style.

class QStyle;

// One instance for the whole process; a QApplication must exist.
QStyle* compactListStyle();
