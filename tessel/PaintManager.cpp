#include "tessel/PaintManager.h"

#include "platform/window/WindowSystem.h"
#include "tessel/ControlFactory.h"
#include "tessel/FontRegistry.h"
#include "tessel/MDialog.h"
#include "tessel/Manager.h"
#include "tessel/ToolTipWindow.h"

#include <algorithm>
#include <atomic>
#include <filesystem>

namespace Tessel {

PaintManager::PaintManager() : overlay_font_(Manager::GetFontName()) {}

PaintManager::~PaintManager() {
    *alive_ = false;
    DestroyData();
}

void PaintManager::Init(MWindow* window) {
    if (window == nullptr || window->GetSafeHwnd() == nullptr) {
        return;
    }
    window_ = window;
    const std::string arial = Manager::GetProgramFolder() + "font/Arial.ttf";
    if (std::filesystem::exists(arial)) {
        AddTempFont("Arial", arial);
        const std::string bold = Manager::GetProgramFolder() + "font/Arial-Bold.ttf";
        if (std::filesystem::exists(bold)) {
            FontRegistry::Instance().AddFontFile(bold);
        }
    }
    initialised_ = true;
    if (window_->Native() != nullptr) {
        window_->Native()->SetLayered(layered_);
    }
    scroll_v_id_ = 102;
    scroll_h_id_ = 101;
    AddGDITempFont(106);
}

MDialog* PaintManager::GetMDialog() const {
    return dynamic_cast<MDialog*>(window_);
}

CRect PaintManager::GetClientRect() const {
    return window_ != nullptr ? window_->GetClientRect() : CRect();
}

CRect PaintManager::GetWindowRect() const {
    return window_ != nullptr ? window_->GetWindowRect() : CRect();
}

CSize PaintManager::GetClientSize() const {
    const CRect r = GetClientRect();
    return {r.Width(), r.Height()};
}

void PaintManager::SetLayeredWindow(int layered) {
    layered_ = layered != 0;
    if (window_ != nullptr && window_->Native() != nullptr) {
        window_->Native()->SetLayered(layered_);
    }
    Invalidate();
}

bool PaintManager::LoadBKImage(const std::string& fileName) {
    ImagePtr image = LoadImageFile(Manager::GetSkinFolder() + fileName);
    if (!image) {
        return false;
    }
    back_image_ = std::move(image);
    Invalidate();
    return true;
}

bool PaintManager::LoadBKImage(unsigned resourceId, const std::string& type) {
    ImagePtr image = LoadImageFile(Manager::GetResourcePath(resourceId, type, true));
    if (!image) {
        return false;
    }
    back_image_ = std::move(image);
    Invalidate();
    return true;
}

void PaintManager::Invalidate() {
    if (window_ != nullptr) {
        window_->InvalidateRect(nullptr);
    }
}

void PaintManager::InvalidateRect(CRect rect, int) {
    if (window_ == nullptr) {
        return;
    }
    if (layered_) {
        window_->InvalidateRect(nullptr);
    } else {
        window_->InvalidateRect(&rect);
    }
}

LRESULT PaintManager::OnControlUpdate(CRect rect, int redraw, MControl* control) {
    if (redraw != 0 && control != nullptr) {
        control->SetUpdate(0);
    }
    CRect area = rect;
    bool after = false;
    for (int layer = 0; layer < 2; ++layer) {
        auto& lock = layer == 0 ? area_lock_ : control_lock_;
        auto& list = layer == 0 ? areas_ : controls_;
        std::lock_guard guard(lock);
        for (std::size_t i = 0; i < list.size(); ++i) {
            MControl* c = list[i];
            if (c == control) {
                after = true;
                continue;
            }
            if ((after || control == nullptr) && c->IsVisible() && c->GetRect().Intersects(rect)) {
                c->SetUpdate(0);
                area.UnionRect(area, c->GetRect());
            }
        }
    }
    InvalidateRect(area, 0);
    return 1;
}

void PaintManager::SetCapture() {
    if (window_ != nullptr) {
        window_->SetCapture();
        captured_ = true;
    }
}

void PaintManager::ReleaseCapture() {
    if (window_ != nullptr) {
        window_->ReleaseCapture();
    }
    captured_ = false;
}

LRESULT PaintManager::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return window_ != nullptr ? window_->SendMessageW(msg, wParam, lParam) : 0;
}

bool PaintManager::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
    return window_ != nullptr && window_->PostMessageW(msg, wParam, lParam);
}

void PaintManager::SetCursor(kovrin::platform::CursorKind kind) {
    cursor_set_ = true;
    if (window_ != nullptr && window_->Native() != nullptr) {
        window_->Native()->SetCursor(kind);
    }
}

// ---- control timers ----

UINT PaintManager::AllocateTimerEvent() const {
    // The next id after the last one handed out, skipping the ids the paint
    // manager keeps for itself and those of running or stopped records.
    UINT counter = timer_counter_;
    for (int tries = 0; tries < 240; ++tries) {
        const UINT id = (counter + 1) % 240;
        counter = id;
        if (id == 0 || id == kTimerOverlayShow || id == kTimerOverlayFade || id == kTimerProgress) {
            continue;
        }
        const bool used = std::any_of(timers_.begin(), timers_.end(),
                                      [id](const ControlTimer& t) { return t.event == id; });
        if (!used) {
            return id;
        }
    }
    return 0;
}

int PaintManager::SetTimer(MControl* control, UINT key, UINT ms) {
    if (control == nullptr || window_ == nullptr) {
        return 0;
    }
    std::lock_guard lock(timer_lock_);
    for (ControlTimer& t : timers_) {
        if (t.control == control && t.key == key) {
            if (!t.stopped) {
                return 0;
            }
            if (!window_->SetTimer(t.event, ms)) {
                return 0;
            }
            t.stopped = false;
            return 1;
        }
    }
    const UINT event = AllocateTimerEvent();
    if (event == 0 || !window_->SetTimer(event, ms)) {
        return 0;
    }
    timer_counter_ = event;
    timers_.push_back({control, key, event, false});
    return 1;
}

int PaintManager::KillTimer(MControl* control, UINT key) {
    std::lock_guard lock(timer_lock_);
    for (ControlTimer& t : timers_) {
        if (t.control == control && t.key == key) {
            if (window_ != nullptr) {
                window_->KillTimer(t.event);
            }
            t.stopped = true;
            return 1;
        }
    }
    return 0;
}

int PaintManager::KillTimer(MControl* control) {
    std::lock_guard lock(timer_lock_);
    int n = 0;
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->control == control) {
            if (window_ != nullptr) {
                window_->KillTimer(it->event);
            }
            it = timers_.erase(it);
            ++n;
        } else {
            ++it;
        }
    }
    return n;
}

void PaintManager::ClearTimers() {
    std::lock_guard lock(timer_lock_);
    for (const ControlTimer& t : timers_) {
        if (window_ != nullptr) {
            window_->KillTimer(t.event);
        }
    }
    timers_.clear();
}

UINT PaintManager::GetTimerEventId(MControl* control, UINT key) const {
    std::lock_guard lock(timer_lock_);
    for (const ControlTimer& t : timers_) {
        if (t.control == control && t.key == key) {
            return t.event;
        }
    }
    return 0;
}

// ---- animation tick ----

namespace {
std::atomic<unsigned> g_next_animation_id{1};
} // namespace

unsigned PaintManager::SetMTimer(UINT ms) {
    if (animation_timer_ == 0) {
        animation_timer_ = g_next_animation_id++;
    }
    animation_period_ = std::max(1u, ms);
    StopAnimationTick();
    UpdateAnimationTick();
    return animation_timer_;
}

void PaintManager::KillMTimer(unsigned id) {
    if (id != 0 && id == animation_timer_) {
        animation_timer_ = 0;
        animation_period_ = 0;
        StopAnimationTick();
        return;
    }
    RKTimer::KillTimer(id);
}

void PaintManager::KillMTimer() {
    RKTimer::KillTimer();
    animation_timer_ = 0;
    animation_period_ = 0;
    animation_tick_ = 0;
}

void PaintManager::StopAnimationTick() {
    if (animation_tick_ != 0) {
        RKTimer::KillTimer(animation_tick_);
        animation_tick_ = 0;
    }
}

void PaintManager::UpdateAnimationTick() {
    bool animates = false;
    {
        std::lock_guard lock(anim_lock_);
        animates = !animated_.empty();
    }
    if (animates && animation_timer_ != 0 && animation_tick_ == 0) {
        animation_tick_ = RKTimer::SetTimer(animation_period_, "animation", 0);
    } else if ((!animates || animation_timer_ == 0) && animation_tick_ != 0) {
        StopAnimationTick();
    }
}

void PaintManager::AnimationChanged() {
    if (Manager::IsUiThread()) {
        UpdateAnimationTick();
        return;
    }
    auto alive = alive_;
    PostToUi([this, alive] {
        if (*alive) {
            UpdateAnimationTick();
        }
    });
}

void PaintManager::AddMTimer(MControl* control) {
    {
        std::lock_guard lock(anim_lock_);
        if (std::find(animated_.begin(), animated_.end(), control) != animated_.end()) {
            return;
        }
        animated_.push_back(control);
    }
    AnimationChanged();
}

void PaintManager::DeleteFSTimer(MControl* control) {
    {
        std::lock_guard lock(anim_lock_);
        const auto end = std::remove(animated_.begin(), animated_.end(), control);
        if (end == animated_.end()) {
            return;
        }
        animated_.erase(end, animated_.end());
    }
    AnimationChanged();
}

void PaintManager::OnMTimer(unsigned id) {
    if (id == 0 || id != animation_tick_) {
        return;
    }
    // Controls only advance their counters here and ask for a repaint when
    // their look changed; a tick with nothing animating paints nothing.
    std::vector<MControl*> list;
    {
        std::lock_guard lock(anim_lock_);
        list = animated_;
    }
    for (MControl* c : list) {
        {
            std::lock_guard lock(anim_lock_);
            if (std::find(animated_.begin(), animated_.end(), c) == animated_.end()) {
                continue; // removed by an earlier control's tick
            }
        }
        if (c->IsRunTimer() && c->IsVisible() && c->IsParentVisible()) {
            c->OnTimer();
        }
    }
}

// ---- controls ----

MControl* PaintManager::CreateControl(UINT layer, MObject* parent, const char* cls, UINT id,
                                      CRect rect, const char* title, int visible, int enabled) {
    MControl* c = ControlFactory::Create(FactoryScope::Window, parent, cls, id, rect, title,
                                         visible, enabled);
    if (c == nullptr) {
        return nullptr;
    }
    c->SetManager(this);
    c->InitControl(this);
    if (layer == 0) {
        std::lock_guard lock(area_lock_);
        areas_.push_back(c);
    } else if (layer == 1) {
        std::lock_guard lock(control_lock_);
        controls_.push_back(c);
    }
    return c;
}

void PaintManager::AttachControl(int layer, MControl* control) {
    if (control == nullptr) {
        return;
    }
    control->SetManager(this);
    control->InitControl(this);
    if (layer == 0) {
        std::lock_guard lock(area_lock_);
        areas_.push_back(control);
    } else {
        std::lock_guard lock(control_lock_);
        controls_.push_back(control);
    }
    if (control->IsVisible()) {
        InvalidateRect(control->GetRect(), 0);
    }
}

MControl* PaintManager::GetControl(UINT id) {
    for (MControl* c : Snapshot(1)) {
        if (c->GetControlID() == id) {
            return c;
        }
        if (MControl* inner = c->GetControl(id)) {
            return inner;
        }
    }
    for (MControl* c : Snapshot(0)) {
        if (c->GetControlID() == id) {
            return c;
        }
        if (MControl* inner = c->GetControl(id)) {
            return inner;
        }
    }
    return nullptr;
}

std::vector<MControl*> PaintManager::Snapshot(int layer) const {
    if (layer == 0) {
        std::lock_guard lock(area_lock_);
        return areas_;
    }
    std::lock_guard lock(control_lock_);
    return controls_;
}

bool PaintManager::Contains(int layer, MControl* c) const {
    const auto list = Snapshot(layer);
    return std::find(list.begin(), list.end(), c) != list.end();
}

std::vector<MControl*> PaintManager::GetControls() const {
    return Snapshot(1);
}
std::vector<MControl*> PaintManager::GetAreas() const {
    return Snapshot(0);
}

bool PaintManager::RemoveControl(MControl* control) {
    bool found = false;
    for (int layer = 0; layer < 2 && !found; ++layer) {
        auto& lock = layer == 0 ? area_lock_ : control_lock_;
        auto& list = layer == 0 ? areas_ : controls_;
        std::lock_guard guard(lock);
        auto it = std::find(list.begin(), list.end(), control);
        if (it != list.end()) {
            list.erase(it);
            ++removals_;
            found = true;
        }
    }
    if (!found) {
        return false;
    }
    if (focus_ == control) {
        SetFocusControl(nullptr);
    }
    const CRect r = control->GetRect();
    delete control;
    InvalidateRect(r, 0);
    return true;
}

void PaintManager::ClearAreaControls() {
    std::vector<MControl*> list;
    {
        std::lock_guard lock(area_lock_);
        list.swap(areas_);
        ++removals_;
    }
    for (MControl* c : list) {
        delete c;
    }
}

void PaintManager::ClearControls() {
    std::vector<MControl*> list;
    {
        std::lock_guard lock(control_lock_);
        list.swap(controls_);
        ++removals_;
    }
    for (MControl* c : list) {
        delete c;
    }
}

void PaintManager::ClearAllControls() {
    ClearControls();
    ClearAreaControls();
}

void PaintManager::ForgetControl(MControl* control) {
    if (hover_ == control) {
        hover_ = nullptr;
    }
    if (focus_ == control) {
        focus_ = nullptr;
    }
    if (caret_object_ == control) {
        caret_object_ = nullptr;
        ShowCaret(false);
    }
    if (tooltip_owner_ctrl_ == control) {
        ClearTooltip();
    }
    KillTimer(control);
    DeleteFSTimer(control);
    for (int layer = 0; layer < 2; ++layer) {
        auto& lock = layer == 0 ? area_lock_ : control_lock_;
        auto& list = layer == 0 ? areas_ : controls_;
        std::lock_guard guard(lock);
        const auto end = std::remove(list.begin(), list.end(), control);
        if (end != list.end()) {
            list.erase(end, list.end());
            ++removals_;
        }
    }
    if (auto* parent = dynamic_cast<MControl*>(control->GetParantObject())) {
        parent->ForgetChild(control);
    }
}

void PaintManager::SetFocusControl(MControl* control) {
    if (focus_ == control) {
        return;
    }
    MControl* old = focus_;
    focus_ = control;
    if (old != nullptr) {
        old->SetControlFocus(0);
        old->UpdateControl(1);
    }
    if (control != nullptr) {
        control->SetControlFocus(1);
        control->UpdateControl(1);
    }
}

namespace {
bool Focusable(const MControl* c) {
    return c->IsVisible() && c->IsEnabled() && c->IsTabStop();
}

// The controls in Tab order: the window's control layer in order, each
// visible container followed by the controls inside it.
void CollectInTabOrder(const std::vector<MControl*>& layer, std::vector<MControl*>& out) {
    for (MControl* c : layer) {
        out.push_back(c);
        if (c->IsVisible()) {
            CollectInTabOrder(c->GetControls(), out);
        }
    }
}
} // namespace

MControl* PaintManager::GetNextFocusableControl() const {
    std::vector<MControl*> list;
    CollectInTabOrder(Snapshot(1), list);
    auto start = std::find(list.begin(), list.end(), focus_);
    if (start != list.end()) {
        for (auto it = start + 1; it != list.end(); ++it) {
            if (Focusable(*it)) {
                return *it;
            }
        }
    }
    for (MControl* c : list) {
        if (Focusable(c)) {
            return c;
        }
    }
    return nullptr;
}

MControl* PaintManager::GetPrevFocusableControl() const {
    std::vector<MControl*> list;
    CollectInTabOrder(Snapshot(1), list);
    auto start = std::find(list.rbegin(), list.rend(), focus_);
    if (start != list.rend()) {
        for (auto it = start + 1; it != list.rend(); ++it) {
            if (Focusable(*it)) {
                return *it;
            }
        }
    }
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (Focusable(*it)) {
            return *it;
        }
    }
    return nullptr;
}

// ---- tooltip ----

void PaintManager::SetTooltip(const std::string& text, CRect rect) {
    tooltip_text_ = text;
    tooltip_rect_ = rect;
    if (text.empty()) {
        if (tooltip_) {
            tooltip_->Hide();
        }
        return;
    }
    // Shown once the pointer rests (the hover notification), as tips are.
    if (window_ != nullptr) {
        window_->TrackMouseEvent(window_->IsTrackingLeave(), true, 400);
    }
}

void PaintManager::ClearTooltip() {
    tooltip_text_.clear();
    tooltip_owner_ = 0;
    tooltip_owner_ctrl_ = nullptr;
    if (tooltip_) {
        tooltip_->Hide();
    }
}

bool PaintManager::IsTooltipShown() const {
    return tooltip_ && tooltip_->Shown();
}

// ---- images and fonts ----

ImgResInfo* PaintManager::AddImgResInfo(const std::string& fileName, int count) {
    std::lock_guard lock(image_lock_);
    auto it = file_images_.find(fileName);
    if (it != file_images_.end()) {
        return it->second.get();
    }
    std::string path = fileName;
    // Sub-folders may be written with backslashes or doubled slashes.
    std::replace(path.begin(), path.end(), '\\', '/');
    for (std::size_t p; (p = path.find("//")) != std::string::npos;) {
        path.erase(p, 1);
    }
    ImagePtr image = LoadImageFile(Manager::GetSkinFolder() + path);
    if (!image) {
        return nullptr;
    }
    auto info = std::make_unique<ImgResInfo>();
    info->count = count <= 0 ? 1 : count;
    info->frameWidth = image->Width() / info->count;
    info->frameHeight = image->Height();
    info->image = std::move(image);
    info->name = fileName;
    ImgResInfo* raw = info.get();
    file_images_[fileName] = std::move(info);
    return raw;
}

ImgResInfo* PaintManager::AddImgResInfo(unsigned resourceId, const std::string& type, int count,
                                        int fromApplication) {
    std::lock_guard lock(image_lock_);
    auto& map = fromApplication != 0 ? app_images_ : lib_images_;
    auto it = map.find(resourceId);
    if (it != map.end()) {
        return it->second.get();
    }
    ImagePtr image =
        LoadImageFile(Manager::GetResourcePath(resourceId, type, fromApplication != 0));
    if (!image) {
        return nullptr;
    }
    auto info = std::make_unique<ImgResInfo>();
    info->count = count <= 0 ? 1 : count;
    info->frameWidth = image->Width() / info->count;
    info->frameHeight = image->Height();
    info->image = std::move(image);
    info->resourceId = resourceId;
    ImgResInfo* raw = info.get();
    map[resourceId] = std::move(info);
    return raw;
}

void PaintManager::ClearImgResInfo() {
    std::lock_guard lock(image_lock_);
    file_images_.clear();
    app_images_.clear();
    lib_images_.clear();
}

std::string PaintManager::AddTempFont(const std::string& name, const std::string& filePath) {
    const std::string family = FontRegistry::Instance().AddFontFile(filePath);
    if (family.empty()) {
        return {};
    }
    FontRegistry::Instance().SetAlias(name, family);
    std::lock_guard lock(font_lock_);
    temp_fonts_[name] = family;
    return family;
}

std::string PaintManager::AddTempFont(const std::string& name, unsigned resourceId) {
    return AddTempFont(name, Manager::GetResourcePath(resourceId, "ttf", false));
}

bool PaintManager::AddGDITempFont(unsigned resourceId) {
    const std::string path = Manager::GetResourcePath(resourceId, "ttf", false);
    const std::string family = FontRegistry::Instance().AddFontFile(path);
    if (family.empty()) {
        return false;
    }
    std::lock_guard lock(font_lock_);
    gdi_fonts_.push_back(family);
    return true;
}

std::string PaintManager::FindTempFont(const std::string&) {
    const std::string name = Manager::GetFontName();
    {
        std::lock_guard lock(font_lock_);
        auto it = temp_fonts_.find(name);
        if (it != temp_fonts_.end()) {
            return it->second;
        }
    }
    if (!FontRegistry::Instance().HasFamily(name)) {
        return {};
    }
    std::lock_guard lock(font_lock_);
    temp_fonts_[name] = name;
    return name;
}

void PaintManager::ClearTempFont() {
    std::lock_guard lock(font_lock_);
    temp_fonts_.clear();
    gdi_fonts_.clear();
}

void PaintManager::DestroyData() {
    if (window_ == nullptr && !initialised_) {
        return;
    }
    back_image_.reset();
    KillMTimer();
    ClearTimers();
    if (window_ != nullptr) {
        for (UINT id : {kTimerCaret, kTimerOverlayShow, kTimerOverlayFade, kTimerProgress}) {
            window_->KillTimer(id);
        }
    }
    ClearAllControls();
    hover_ = nullptr;
    focus_ = nullptr;
    caret_object_ = nullptr;
    {
        std::lock_guard lock(anim_lock_);
        animated_.clear();
    }
    tooltip_.reset();
    ClearImgResInfo();
    ClearTempFont();
    back_.Reset();
    initialised_ = false;
    window_ = nullptr;
}

} // namespace Tessel
