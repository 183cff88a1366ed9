#pragma once
// A control with a title, a font and one image cut into state cells.

#include "tessel/ImgResInfo.h"
#include "tessel/MControl.h"

#include <string>

namespace Tessel {

class MControlFont : public MControl {
public:
    MControlFont(MObject* parent, UINT id, CRect rect, const char* title, int visible, int enabled,
                 int Rresponse);

    virtual void SetTextFont(const std::string& name) { font_name_ = name; }
    virtual void SetTextColor(Color color) { text_color_ = color; }
    // The image comes through the window's image cache; 0 when there is no
    // window yet or the image cannot be loaded (the previous image stays).
    virtual int SetImage(unsigned resourceId, const std::string& type, int count);
    virtual int SetImage(const char* fileName, int count);
    virtual void SetControlTitle(const char* title) { title_ = title != nullptr ? title : ""; }
    virtual const std::string& GetControlTitle() const { return title_; }

    void SetTitle(const char* title);
    void SetTitle(const std::string& title) { SetTitle(title.c_str()); }
    const std::string& GetTitle() const { return GetControlTitle(); }
    void SetAlignment(unsigned h);
    void SetVAlignment(unsigned v);
    void SetAlignment(unsigned h, unsigned v);
    void GetAlignment(unsigned& h, unsigned& v) const {
        h = align_;
        v = valign_;
    }
    void SetFont(const std::string& name, int size, int style) {
        font_name_ = name;
        font_size_ = size;
        font_style_ = style;
    }
    void SetFontStyle(int style) { font_style_ = style; }
    int GetFontStyle() const { return font_style_; }
    void SetFontWidth(int size) { font_size_ = size; }
    int GetFontWidth() const { return font_size_; }
    const std::string& GetTextFont() const { return font_name_; }
    Color GetTextColor() const { return text_color_; }
    // The private family registered with the window under that name; empty when none.
    std::string GetFontFamily(const std::string& name) const;
    void SetTextRenderingHint(int hint) { rendering_hint_ = hint; }
    int GetTextRenderingHint() const { return rendering_hint_; }
    const std::string& GetImagePath() const { return image_path_; }
    CSize GetImageSize() const { return {frame_width_, frame_height_}; }
    void SetImageCount(int count);
    int GetImageCount() const { return image_count_; }
    const Image* GetImage() const { return image_ != nullptr ? image_->image.get() : nullptr; }

    // The control's font and alignment as drawing parameters.
    FontChoice GetFontChoice() const { return {font_name_, font_size_, font_style_}; }
    TextFormat GetTextFormat() const;
    // Draws the title into rect in the control's font and alignment.
    void DrawTitle(HDC& dc, const CRect& rect, Color color) const;

protected:
    std::string title_;
    std::string font_name_;
    std::string image_path_;
    int font_size_;
    Color text_color_ = 0xFFFFFFFF;
    int font_style_ = 0;
    unsigned align_ = 0;
    unsigned valign_ = 4;
    int rendering_hint_ = 5;
    ImgResInfo* image_ = nullptr;
    int frame_width_ = 0;
    int frame_height_ = 0;
    int image_count_ = 4;
};

} // namespace Tessel
