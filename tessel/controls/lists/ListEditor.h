#pragma once
// The in-place editor a list opens over one of its rows, and what it tells
// the list.

#include "tessel/TesselTypes.h"

#include <memory>
#include <string>

namespace Tessel {

class MControl;

// How a list wants its editor to look and behave.
struct ListEditorStyle {
    COLORREF background = 0x0000FF; // COLORREF
    COLORREF text = 0xFFFFFF;       // COLORREF
    int limit = 10;                 // characters
    bool digitsOnly = false;
    unsigned align = 0; // 0 left, 1 centred, 2 right
    std::string fontName;
    int fontSize = 14;
    int fontStyle = 0;
};

// The list's side: the editor reports text changes, Enter, Escape and the
// loss of the keyboard focus.
class ListEditorOwner {
public:
    virtual ~ListEditorOwner() = default;
    virtual void OnEditorTextChanged(const std::string& text) = 0;
    virtual void OnEditorEnter() = 0;
    virtual void OnEditorCancel() = 0;
    virtual void OnEditorFocusLost() = 0;
};

class ListEditor {
public:
    virtual ~ListEditor() = default;
    // Shows the editor over rect (window coordinates) holding text, the caret
    // at its end, with the keyboard focus.
    virtual void Open(const CRect& rect, const std::string& text) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual std::string GetText() const = 0;
    // The editor's control, when it is one the list hosts; null otherwise.
    virtual MControl* Control() { return nullptr; }
};

} // namespace Tessel
