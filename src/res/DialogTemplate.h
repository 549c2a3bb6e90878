#pragma once
// Dialog templates as data: every dialog and form of the program is laid out
// in dialog units (DLU), the way its resources were designed, and converted to
// pixels with the base units of "MS Sans Serif" 8 pt at 96 dpi (6 x 13 pixels),
// so each control keeps exactly the size it was drawn with. Plain C++: the
// tables and the arithmetic need no GUI; DialogBuilder turns them into
// widgets.

#include <cstddef>
#include <span>

enum class ControlKind {
    Static,         // text label (left-aligned unless a style says otherwise)
    Picture,        // static showing bitmap or icon `resource`, sized by the picture
    Edit,           // single-line edit field
    Button,         // push button
    DefaultButton,  // the push button that Enter presses
    DropList,       // drop-down list, selection only; h is the dropped-down height
    Spin,           // up-down control (two arrows), usually attached to the edit before it
    CheckBox,       // automatic two-state check box
    Radio,          // automatic radio button; StyleGroup starts a new group
    GroupBox,       // titled frame (drawn beneath the controls it surrounds)
    Tab,            // tab control
    Custom,         // a widget only the dialog's owner knows; must be substituted
};

// Style flags of a control row (combine with |).
constexpr unsigned StyleNone = 0;
constexpr unsigned StyleRight = 1u << 0;          // text right-aligned (static, edit)
constexpr unsigned StyleCenter = 1u << 1;         // text centred (static)
constexpr unsigned StyleGroup = 1u << 2;          // starts a group (radio groups end here)
constexpr unsigned StyleReadOnly = 1u << 3;       // edit: read-only
constexpr unsigned StyleBorder = 1u << 4;         // edit: bordered
constexpr unsigned StyleAutoHScroll = 1u << 5;    // edit: text scrolls horizontally
constexpr unsigned StyleVScroll = 1u << 6;        // list: vertical scroll bar
constexpr unsigned StyleGrayRect = 1u << 7;       // static: a grey filled rectangle, no text
constexpr unsigned StyleCenterContent = 1u << 8;  // button: content centred both ways
constexpr unsigned StyleAlignBuddy = 1u << 9;     // spin: sits at the right edge of its buddy
constexpr unsigned StyleAutoBuddy = 1u << 10;     // spin: the buddy is the control before it
constexpr unsigned StyleBuddyInt = 1u << 11;      // spin: writes its position into the buddy
constexpr unsigned StyleArrowKeys = 1u << 12;     // spin: reacts to the arrow keys
constexpr unsigned StyleOwnerDraw = 1u << 13;     // tab: owner-drawn items
constexpr unsigned StyleFixedWidth = 1u << 14;    // tab: items of one width
constexpr unsigned StyleNoPrefix = 1u << 15;      // static: "&" is shown, not a mnemonic
constexpr unsigned StyleDisabled = 1u << 16;      // created disabled

// The framework's identifier of controls that nobody addresses.
constexpr int UnnamedControl = -1;
// Identifiers of the standard buttons.
constexpr int IdOk = 1;
constexpr int IdCancel = 2;

struct ControlRow {
    int id = UnnamedControl;
    ControlKind kind = ControlKind::Static;
    const char* text = "";  // UTF-8, exactly as shown (with "&" mnemonics)
    int x = 0;              // position and size in dialog units
    int y = 0;
    int w = 0;
    int h = 0;
    unsigned style = StyleNone;
    int resource = 0;  // Picture: the bitmap or icon resource id
};

enum class DialogFrame {
    Modal,          // caption, system menu, fixed frame
    Child,          // a form or panel without caption or border
    ChildBordered,  // a child with a thin border
};

struct DialogTemplate {
    int id = 0;
    const char* caption = "";  // UTF-8; empty for child forms
    int w = 0;                 // client size in dialog units
    int h = 0;
    DialogFrame frame = DialogFrame::Modal;
    const char* fontName = "MS Sans Serif";
    int fontPoints = 8;
    std::span<const ControlRow> rows;

    // The first row with this id, or nullptr (also for UnnamedControl).
    const ControlRow* find(int controlId) const;
};

// Dialog base units of "MS Sans Serif" 8 pt at 96 dpi.
constexpr int DialogBaseUnitX = 6;
constexpr int DialogBaseUnitY = 13;

// Horizontal and vertical dialog units to pixels: x * 6 / 4 and y * 13 / 8,
// rounded half away from zero as the platform's MulDiv does.
int dluToPixelsX(int dluX);
int dluToPixelsY(int dluY);

struct PixelRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Position and size converted independently, as dialogs are created: the
// pixel size of a control does not depend on where it sits.
PixelRect dluToPixels(int x, int y, int w, int h);
inline PixelRect dluToPixels(const ControlRow& row) {
    return dluToPixels(row.x, row.y, row.w, row.h);
}

// Height in pixels of a closed drop-down list in the dialog font; a list's
// template height is its dropped-down height.
constexpr int DropListClosedHeight = 21;
// Pixel height of the dialog font (8 pt at 96 dpi).
int dialogFontPixelHeight(int points);
