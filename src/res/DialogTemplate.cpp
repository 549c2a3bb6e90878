#include "res/DialogTemplate.h"

namespace {

// a * b / c rounded half away from zero (c > 0).
int mulDiv(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    const long long q = p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c);
    return static_cast<int>(q);
}

}  // namespace

const ControlRow* DialogTemplate::find(int controlId) const {
    if (controlId == UnnamedControl) {
        return nullptr;
    }
    for (const ControlRow& row : rows) {
        if (row.id == controlId) {
            return &row;
        }
    }
    return nullptr;
}

int dluToPixelsX(int dluX) {
    return mulDiv(dluX, DialogBaseUnitX, 4);
}

int dluToPixelsY(int dluY) {
    return mulDiv(dluY, DialogBaseUnitY, 8);
}

PixelRect dluToPixels(int x, int y, int w, int h) {
    return {dluToPixelsX(x), dluToPixelsY(y), dluToPixelsX(w), dluToPixelsY(h)};
}

int dialogFontPixelHeight(int points) {
    return mulDiv(points, 96, 72);
}
