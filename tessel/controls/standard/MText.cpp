#include "tessel/controls/standard/MText.h"

#include "tessel/PaintManager.h"

#include <algorithm>

namespace Tessel {

MText::MText(MObject* parent, UINT id, CRect rect, const char* title, int visible)
    : MControlFont(parent, id, rect, title, visible, 0, 1) {}

void MText::SetMarkText(const std::string& text) {
    mark_ = text;
    UpdateControl(1);
}

void MText::SetMarkText(const std::string& text, Color color, int startIndex) {
    mark_ = text;
    mark_color_ = color;
    mark_start_ = std::max(0, startIndex);
    UpdateControl(1);
}

void MText::SetMarkText(const std::string& title, const std::string& text, Color color,
                        int startIndex) {
    SetControlTitle(title.c_str());
    SetMarkText(text, color, startIndex);
}

void MText::SetTitleMarkText(const std::string& title, const std::string& text, int startIndex) {
    SetControlTitle(title.c_str());
    mark_ = text;
    mark_start_ = std::max(0, startIndex);
    UpdateControl(1);
}

void MText::EnableTextBack(int on, Color color) {
    back_ = on != 0;
    back_color_ = color;
    UpdateControl(1);
}

void MText::EnableMultiLine(int on) {
    multi_line_ = on != 0;
    UpdateControl(1);
}

void MText::EnableShadow(int on, Color color) {
    shadow_ = on != 0;
    shadow_color_ = color;
    UpdateControl(1);
}

void MText::EnableVCenter(int on) {
    vcenter_ = on != 0;
    UpdateControl(1);
}

bool MText::SetIconImage(const char* fileName, int count) {
    if (manager_ == nullptr || fileName == nullptr || *fileName == '\0') {
        return false;
    }
    ImgResInfo* info = manager_->AddImgResInfo(fileName, count);
    if (info == nullptr) {
        return false;
    }
    icon_ = info;
    UpdateControl(1);
    return true;
}

void MText::DrawPlain(HDC& dc, const CRect& rect) {
    TextFormat f;
    f.align = align_;
    f.valign = multi_line_ ? (vcenter_ ? 4u : 0u) : valign_;
    f.wrap = multi_line_;
    if (shadow_) {
        CRect s = rect;
        s.OffsetRect(1, 1);
        MRender::DrawText(dc, title_, GetFontChoice(), s, shadow_color_, f);
    }
    MRender::DrawText(dc, title_, GetFontChoice(), rect, text_color_, f);
}

void MText::DrawMarked(HDC& dc, const CRect& rect, std::size_t at) {
    const std::string before = title_.substr(0, at);
    const std::string match = title_.substr(at, mark_.size());
    const std::string rest = title_.substr(at + mark_.size());
    const FontChoice font = GetFontChoice();
    TextFormat f;
    f.valign = valign_;
    // Logical widths, so the spaces next to the match are kept.
    const int wb = before.empty() ? 0 : MRender::MeasureText(font, before).cx;
    const int wm = MRender::MeasureText(font, match).cx;
    const int x0 = rect.left;
    const CRect pieces[3] = {CRect(x0, rect.top, rect.right, rect.bottom),
                             CRect(x0 + wb + 2, rect.top, rect.right, rect.bottom),
                             CRect(x0 + wb + wm + 4, rect.top, rect.right, rect.bottom)};
    const std::string* texts[3] = {&before, &match, &rest};
    const Color colours[3] = {text_color_, mark_color_, text_color_};
    for (int i = 0; i < 3; ++i) {
        if (texts[i]->empty()) {
            continue;
        }
        if (shadow_) {
            CRect s = pieces[i];
            s.OffsetRect(1, i == 0 ? 1 : 0);
            MRender::DrawText(dc, *texts[i], font, s, shadow_color_, f);
        }
        MRender::DrawText(dc, *texts[i], font, pieces[i], colours[i], f);
    }
}

void MText::DrawControl(HDC& dc, CRect) {
    if (rect_.IsRectEmpty()) {
        return;
    }
    if (back_) {
        MRender::FillSolidRect(dc, rect_, back_color_);
    }
    CRect text = rect_;
    if (icon_ != nullptr && icon_->image) {
        const int ih = icon_->frameHeight;
        const int y = rect_.top + (rect_.Height() - ih) / 2;
        MRender::DrawImage(dc, icon_->image.get(),
                           CRect(rect_.left, y, rect_.left + icon_->frameWidth, y + ih),
                           CRect(0, 0, icon_->frameWidth, ih));
        text.left += icon_->frameWidth + 5;
    }
    if (!mark_.empty() && static_cast<std::size_t>(mark_start_) < title_.size()) {
        const std::size_t at = title_.find(mark_, static_cast<std::size_t>(mark_start_));
        if (at != std::string::npos) {
            DrawMarked(dc, text, at);
            return;
        }
    }
    DrawPlain(dc, text);
}

} // namespace Tessel
