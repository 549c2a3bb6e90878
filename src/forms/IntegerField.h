#pragma once
// Reading an integer the way the dialogs' data exchange does: blanks around
// the number are ignored, a sign may precede the digits, nothing else may
// follow. The German prompts are the framework's own texts.

#include <optional>
#include <string>
#include <string_view>

enum class IntegerFieldError {
    None,
    NotAnInteger,  // empty, letters, a fraction ...
    OutOfRange,    // an integer outside lo..hi (also one too large for int)
};

struct IntegerFieldResult {
    IntegerFieldError error = IntegerFieldError::None;
    int value = 0;  // valid when error is None
};

IntegerFieldResult parseIntegerField(std::string_view text, int lo, int hi);

// "Geben Sie eine ganze Zahl ein." or "Geben Sie eine ganze Zahl zwischen
// <lo> und <hi> ein."; empty for None.
std::string integerFieldPrompt(IntegerFieldError error, int lo, int hi);
