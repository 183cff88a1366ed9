#pragma once
// A text label: the title in one or several lines, optionally with a
// highlighted sub-string (the mark), a shadow, a back colour and an icon.

#include "tessel/ImgResInfo.h"
#include "tessel/MControlFont.h"

#include <string>

namespace Tessel {

class MText : public MControlFont {
public:
    MText(MObject* parent, UINT id, CRect rect, const char* title, int visible);

    void DrawControl(HDC& dc, CRect clip) override;

    // The sub-string drawn in the mark colour: its first occurrence at or
    // after the start index (in bytes of the title).
    void SetMarkText(const std::string& text);
    void SetMarkText(const std::string& text, Color color, int startIndex);
    void SetMarkText(const std::string& title, const std::string& text, Color color,
                     int startIndex);
    void SetTitleMarkText(const std::string& title, const std::string& text, int startIndex);
    void EnableTextBack(int on, Color color);
    void EnableMultiLine(int on = 1);
    void EnableShadow(int on = 1, Color color = 0xFF505050);
    void EnableVCenter(int on = 1);
    // An icon from the skin folder drawn at the left (its first cell).
    bool SetIconImage(const char* fileName, int count);

    const std::string& GetMarkText() const { return mark_; }
    bool IsMultiLine() const { return multi_line_; }

private:
    void DrawPlain(HDC& dc, const CRect& rect);
    void DrawMarked(HDC& dc, const CRect& rect, std::size_t at);

    std::string mark_;
    int mark_start_ = 0;
    Color mark_color_ = 0xFFED801B;
    bool back_ = false;
    Color back_color_ = 0xFF008000;
    bool shadow_ = false;
    Color shadow_color_ = 0xFF505050;
    bool multi_line_ = false;
    bool vcenter_ = false;
    ImgResInfo* icon_ = nullptr;
};

} // namespace Tessel
