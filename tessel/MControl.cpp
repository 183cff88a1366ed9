#include "tessel/MControl.h"

#include "tessel/PaintManager.h"

#include <algorithm>
#include <cstring>

namespace Tessel {

int PositionItem2Value(const FS_POSITION_ITEM& item, int a, int b) {
    switch (item.type) {
    case 0:
        return item.fromEnd != 0 ? static_cast<int>(b - item.value)
                                 : static_cast<int>(a + item.value);
    case 1: {
        const double mid = a + (b - a) / 2;
        return item.fromEnd != 0 ? static_cast<int>(mid - item.value)
                                 : static_cast<int>(mid + item.value);
    }
    case 2:
        return std::min(b, static_cast<int>(a + (b - a) * static_cast<double>(item.value) / 100));
    default:
        return 0;
    }
}

MControl::MControl(MObject* parent, UINT id, CRect rect, int visible, int enabled, int Rresponse)
    : parent_(parent), id_(id), rect_(rect), visible_(visible != 0), enabled_(enabled != 0),
      response_(Rresponse != 0) {}

MControl::~MControl() {
    if (manager_ != nullptr) {
        manager_->ForgetControl(this);
    }
    RemoveAllControl();
}

int MControl::DrawSubControls(HDC& dc, CRect clip) {
    ForEachChild(1, [&](MControl* c) {
        if (c->IsVisible()) {
            c->Draw(dc, clip);
        }
        return true;
    });
    return 1;
}

void MControl::SetUpdate(int update, DWORD colour) {
    update_ = update != 0;
    ForEachChild(1, [&](MControl* c) {
        if (c->GetRect().Intersects(rect_)) {
            c->SetUpdate(update, colour);
        }
        return true;
    });
}

int MControl::SetControlFocus(int focus) {
    focused_ = focus != 0;
    if (focus == 0) {
        ForEachChild(1, [](MControl* c) {
            c->SetControlFocus(0);
            return true;
        });
    }
    return 0;
}

int MControl::OnControlSetCursor(UINT, CPoint pt) {
    if (has_cursor_ && rect_.PtInRect(pt) && manager_ != nullptr) {
        manager_->SetCursor(cursor_);
        return 1;
    }
    return 0;
}

int MControl::OnControlKeyDown(UINT key, UINT, UINT modifier) {
    return shortcut_key_ != 0 && key == shortcut_key_ && modifier == shortcut_modifier_ ? 1 : 0;
}

void MControl::InvalidateRect(const CRect* rect, int erase) {
    if (manager_ != nullptr) {
        manager_->InvalidateRect(rect != nullptr ? *rect : rect_, erase);
    }
}

int MControl::Draw(HDC& dc, CRect clip) {
    CRect both;
    if (!visible_ || !both.IntersectRect(rect_, clip)) {
        return 0;
    }
    ForEachChild(0, [&](MControl* c) {
        if (c->GetRect().Intersects(rect_)) {
            c->Draw(dc, clip);
        }
        return true;
    });
    DrawControl(dc, clip);
    DrawSubControls(dc, clip);
    return 1;
}

void MControl::SetRect(CRect rect) {
    const CRect old = rect_;
    SetControlRect(rect);
    if (visible_ && parent_ != nullptr) {
        CRect area;
        area.UnionRect(old, rect_);
        parent_->OnControlUpdate(area, 1, this);
    }
}

void MControl::SetVisible(int visible, int notify) {
    if ((visible != 0) == visible_) {
        return;
    }
    SetControlVisible(visible);
    if (notify != 0 && parent_ != nullptr) {
        parent_->OnControlUpdate(rect_, 1, this);
    }
}

bool MControl::IsParentVisible() const {
    const MObject* p = parent_;
    while (p != nullptr) {
        const auto* c = dynamic_cast<const MControl*>(p);
        if (c == nullptr) {
            return true; // the window itself
        }
        if (!c->IsVisible()) {
            return false;
        }
        p = c->GetParantObject();
    }
    return true;
}

void MControl::SetEnabled(int enabled) {
    if ((enabled != 0) == enabled_) {
        return;
    }
    SetControlEnabled(enabled);
    if (visible_ && parent_ != nullptr) {
        parent_->OnControlUpdate(rect_, 1, this);
    }
}

void MControl::UpdateControl(int redraw, int force) {
    UpdateControl(rect_, redraw, force);
}

void MControl::UpdateControl(CRect rect, int redraw, int force) {
    if ((visible_ || force != 0) && parent_ != nullptr) {
        parent_->OnControlUpdate(rect, redraw, this);
    }
}

void MControl::UpdateAControl(int keep, int force) {
    animate_ = keep == 0;
    UpdateControl(0, force);
}

MControl* MControl::GetControl(UINT id) {
    MControl* found = nullptr;
    ForEachChild(1, [&](MControl* c) {
        if (c->GetControlID() == id) {
            found = c;
        } else {
            found = c->GetControl(id);
        }
        return found == nullptr;
    });
    if (found == nullptr) {
        ForEachChild(0, [&](MControl* c) {
            if (c->GetControlID() == id) {
                found = c;
            }
            return found == nullptr;
        });
    }
    return found;
}

void MControl::ForgetChild(MControl* child) {
    if (captured_ == child) {
        captured_ = nullptr;
    }
}

bool MControl::RemoveControl(MControl* child) {
    {
        std::lock_guard lock(control_lock_);
        auto it = std::find(controls_.begin(), controls_.end(), child);
        if (it == controls_.end()) {
            return false;
        }
        controls_.erase(it);
    }
    ForgetChild(child);
    if (manager_ != nullptr && manager_->GetFocusControl() == child) {
        manager_->SetFocusControl(nullptr);
    }
    delete child;
    return true;
}

void MControl::RemoveAllControl() {
    std::vector<MControl*> areas;
    std::vector<MControl*> controls;
    {
        std::lock_guard lock(area_lock_);
        areas.swap(areas_);
    }
    {
        std::lock_guard lock(control_lock_);
        controls.swap(controls_);
    }
    captured_ = nullptr;
    for (MControl* c : controls) {
        delete c;
    }
    for (MControl* c : areas) {
        delete c;
    }
}

void MControl::AttachChild(int layer, MControl* child) {
    if (child == nullptr) {
        return;
    }
    child->SetParent(this);
    if (child->GetManager() == nullptr && manager_ != nullptr) {
        child->SetManager(manager_);
        child->InitControl(manager_);
    }
    if (layer == 0) {
        std::lock_guard lock(area_lock_);
        areas_.push_back(child);
    } else {
        std::lock_guard lock(control_lock_);
        controls_.push_back(child);
    }
}

std::vector<MControl*> MControl::GetControls() const {
    std::lock_guard lock(control_lock_);
    return controls_;
}

std::vector<MControl*> MControl::GetAreas() const {
    std::lock_guard lock(area_lock_);
    return areas_;
}

void MControl::SetTooltip(const std::string& text, CRect rect) {
    if (manager_ != nullptr) {
        manager_->SetTooltip(text, rect);
        manager_->SetTooltipOwner(this);
    }
}

void MControl::ClearTooltip() {
    if (manager_ != nullptr) {
        manager_->ClearTooltip();
    }
}

void MControl::SetCursorEx(const char* name) {
    using kovrin::platform::CursorKind;
    struct Named {
        const char* name;
        CursorKind kind;
    };
    static constexpr Named kCursors[] = {
        {"arrow", CursorKind::Arrow},   {"wait", CursorKind::Wait},
        {"cross", CursorKind::Cross},   {"sizewe", CursorKind::SizeWE},
        {"sizens", CursorKind::SizeNS}, {"hand", CursorKind::Hand},
        {"help", CursorKind::Help},
    };
    if (name == nullptr) {
        return;
    }
    for (const Named& n : kCursors) {
        if (std::strcmp(n.name, name) == 0) {
            cursor_ = n.kind;
            has_cursor_ = true;
            return;
        }
    }
}

LRESULT MControl::SendMessageW(UINT code, WPARAM wParam, LPARAM lParam) {
    return parent_ != nullptr ? parent_->OnBaseMessage(id_, code, wParam, lParam) : 0;
}

void MControl::AddMTimer() {
    if (manager_ != nullptr) {
        manager_->AddMTimer(this);
    }
}

bool MControl::IsFocusControl() const {
    return manager_ != nullptr && manager_->GetFocusControl() == this;
}

void MControl::UpdateMemDC(HDC&, int width, int height) {
    strip_.Create(width, height);
    update_ = true;
}

void MControl::CopyBackgroundToCell(HDC& dc, int cell) {
    if (!strip_.Valid() || dc == nullptr) {
        return;
    }
    cairo_surface_t* back = cairo_get_target(dc);
    cairo_surface_flush(back);
    const int w = rect_.Width();
    cairo_t* cr = strip_.Context();
    cairo_save(cr);
    cairo_rectangle(cr, cell * w, 0, w, rect_.Height());
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, back, cell * w - rect_.left, -rect_.top);
    cairo_paint(cr);
    cairo_restore(cr);
}

void MControl::DrawStripCell(HDC& dc, int cell) {
    if (!strip_.Valid() || dc == nullptr) {
        return;
    }
    const int w = rect_.Width();
    cairo_save(dc);
    cairo_rectangle(dc, rect_.left, rect_.top, w, rect_.Height());
    cairo_clip(dc);
    // The cell already holds the background, so it replaces what is there.
    cairo_set_operator(dc, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(dc, strip_.Surface(), rect_.left - cell * w, rect_.top);
    cairo_paint(dc);
    cairo_restore(dc);
}

void MControl::UpdateAnimateDC(int width, int height) {
    animate_bitmap_.Create(width, height);
}

} // namespace Tessel
