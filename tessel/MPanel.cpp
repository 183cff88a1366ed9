#include "tessel/MPanel.h"

#include "tessel/ControlFactory.h"
#include "tessel/MScroll.h"
#include "tessel/PaintManager.h"

namespace Tessel {

MPanel::MPanel(MObject* parent, UINT id, CRect rect, int visible, int enabled, int Rresponse)
    : MControlFont(parent, id, rect, "", visible, enabled, Rresponse) {
    dbl_clk_ = true;
    vscroll_ = new CScrollVertical(
        this, 1, CRect(rect.right - kScrollThickness, rect.top, rect.right, rect.bottom), 0);
    hscroll_ = new CScrollHorizontal(
        this, 2, CRect(rect.left, rect.bottom - kScrollThickness, rect.right, rect.bottom), 0);
    AttachChild(1, vscroll_);
    AttachChild(1, hscroll_);
}

MControl* MPanel::CreateArea(const char* cls, UINT id, CRect rect, const char* title, int visible,
                             int enabled) {
    return CreateControl(0, this, cls, id, rect, title, visible, enabled);
}

MControl* MPanel::CreateControl(const char* cls, UINT id, CRect rect, const char* title,
                                int visible, int enabled) {
    return CreateControl(1, this, cls, id, rect, title, visible, enabled);
}

MControl* MPanel::CreateControl(UINT layer, MObject* parent, const char* cls, UINT id, CRect rect,
                                const char* title, int visible, int enabled) {
    MControl* c =
        ControlFactory::Create(FactoryScope::Panel, parent, cls, id, rect, title, visible, enabled);
    if (c == nullptr) {
        return nullptr;
    }
    if (manager_ != nullptr) {
        c->SetManager(manager_);
        c->InitControl(manager_);
    }
    if (layer == 0) {
        std::lock_guard lock(area_lock_);
        areas_.push_back(c);
    } else if (layer == 1) {
        std::lock_guard lock(control_lock_);
        controls_.push_back(c);
    }
    return c;
}

LRESULT MPanel::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    return OnMessage(id, code, wParam, lParam);
}

LRESULT MPanel::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    if (code == CN_SCROLL && (id == 1 || id == 2)) {
        SetUpdate(0);
        UpdateControl(1);
    }
    return parent_ != nullptr ? parent_->OnBaseMessage(id, code, wParam, lParam) : 0;
}

LRESULT MPanel::OnControlUpdate(CRect rect, int redraw, MControl* control) {
    if (redraw != 0 && control != nullptr) {
        control->SetUpdate(0);
    }
    CRect area = rect;
    bool after = false;
    {
        std::lock_guard lock(control_lock_);
        for (std::size_t i = 0; i < controls_.size(); ++i) {
            MControl* c = controls_[i];
            if (c == control) {
                after = true;
                continue;
            }
            if (after && c->IsVisible() && c->GetRect().Intersects(rect)) {
                c->SetUpdate(0);
                area.UnionRect(area, c->GetRect());
            }
        }
    }
    if (control != vscroll_ && control != hscroll_) {
        area.OffsetRect(-GetScrollOffsetX(), -GetScrollOffsetY());
    }
    CRect clipped;
    if (!clipped.IntersectRect(area, rect_) || parent_ == nullptr || !visible_) {
        return 0;
    }
    return parent_->OnControlUpdate(clipped, 0, this);
}

void MPanel::InitControl(PaintManager* manager) {
    for (MControl* bar : {static_cast<MControl*>(vscroll_), static_cast<MControl*>(hscroll_)}) {
        bar->SetManager(manager);
        bar->InitControl(manager);
    }
    if (manager != nullptr) {
        vscroll_->SetImage(manager->GetScrollResIDV(), "PNG", 4);
        hscroll_->SetImage(manager->GetScrollResIDH(), "PNG", 1);
    }
    // Children created before the panel was attached get the manager now.
    for (int layer = 0; layer < 2; ++layer) {
        ForEachChild(layer, [manager, this](MControl* c) {
            if (c != vscroll_ && c != hscroll_ && c->GetManager() == nullptr) {
                c->SetManager(manager);
                c->InitControl(manager);
            }
            return true;
        });
    }
}

void MPanel::SetControlRect(CRect r) {
    rect_ = r;
    virtual_height_ = 0;
    virtual_width_ = 0;
    vscroll_->SetRect(CRect(r.right - kScrollThickness, r.top, r.right, r.bottom));
    hscroll_->SetRect(CRect(r.left, r.bottom - kScrollThickness, r.right, r.bottom));
    UpdateScrollBars();
}

void MPanel::UpdateScrollBars() {
    const bool v = rect_.Height() < virtual_height_;
    const bool h = rect_.Width() < virtual_width_;
    vscroll_->SetScrollMaxRange(virtual_height_);
    hscroll_->SetScrollMaxRange(virtual_width_);
    if (!v) {
        vscroll_->SetScrollCurrentPos(0);
    }
    if (!h) {
        hscroll_->SetScrollCurrentPos(0);
    }
    vscroll_->SetVisible(v ? 1 : 0);
    hscroll_->SetVisible(h ? 1 : 0);
}

void MPanel::SetVirtualHeight(int height) {
    virtual_height_ = std::max(0, height);
    UpdateScrollBars();
}

void MPanel::SetVirtualWidth(int width) {
    virtual_width_ = std::max(0, width);
    UpdateScrollBars();
}

void MPanel::SetControlVisible(int visible) {
    visible_ = visible != 0;
    SetControlWndVisible(visible);
}

void MPanel::SetControlEnabled(int enabled) {
    enabled_ = enabled != 0;
    ForEachChild(1, [enabled](MControl* c) {
        if (c->IsEnabled() != (enabled != 0)) {
            c->SetEnabled(enabled);
        }
        return true;
    });
}

void MPanel::DrawControl(HDC&, CRect) {}

bool MPanel::IsScrolling() const {
    return enable_scroll_ && (virtual_height_ > rect_.Height() || virtual_width_ > rect_.Width());
}

int MPanel::DrawSubControls(HDC& dc, CRect clip) {
    if (IsScrolling()) {
        return 0; // the subclass draws its scrolled content itself
    }
    return MControl::DrawSubControls(dc, clip);
}

int MPanel::GetScrollOffsetY() const {
    const int range = vscroll_->GetScrollMaxRange();
    if (range <= 0 || virtual_height_ <= rect_.Height()) {
        return 0;
    }
    return static_cast<int>(static_cast<long long>(virtual_height_ - rect_.Height()) *
                            vscroll_->GetScrollCurrentPos() / range);
}

int MPanel::GetScrollOffsetX() const {
    const int range = hscroll_->GetScrollMaxRange();
    if (range <= 0 || virtual_width_ <= rect_.Width()) {
        return 0;
    }
    return static_cast<int>(static_cast<long long>(virtual_width_ - rect_.Width()) *
                            hscroll_->GetScrollCurrentPos() / range);
}

int MPanel::OnMousePointChange(CPoint& pt) {
    if (!IsScrolling()) {
        return 0;
    }
    pt.x += GetScrollOffsetX();
    pt.y += GetScrollOffsetY();
    return 1;
}

int MPanel::OnControlScroll(int, UINT direction, CPoint) {
    if (!enable_scroll_ || virtual_height_ < rect_.Height()) {
        return 0;
    }
    const int before = vscroll_->GetScrollCurrentPos();
    vscroll_->SetScrollCurrentPos(before + (direction == 1 ? 1 : -1) * vscroll_->GetLineStep());
    if (vscroll_->GetScrollCurrentPos() != before) {
        SetUpdate(0);
        UpdateControl(1);
    }
    return 1;
}

LRESULT MPanel::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = 0;
    ForEachChild(1, [&](MControl* c) {
        r = c->OnWindowMessage(msg, wParam, lParam);
        return r == 0;
    });
    return r;
}

} // namespace Tessel
