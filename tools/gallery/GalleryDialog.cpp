#include "tools/gallery/GalleryDialog.h"

#include "platform/window/EventLoop.h"
#include "tessel/Manager.h"
#include "tessel/controls/CArea.h"
#include "tessel/controls/standard/CImageButton.h"
#include "tessel/controls/standard/MPicture.h"
#include "tessel/controls/standard/MText.h"

#include <cstdio>

namespace gallery {

void GalleryPage::Heading(const std::string& text, CRect rect) {
    if (auto* t = Add<MText>("MText", 0, rect, text)) {
        t->SetFont("Arial", 15, FontStyleBold);
        t->SetTextColor(0xFFE0202F);
    }
}

void GalleryPage::Label(const std::string& text, CRect rect, Color color) {
    if (auto* t = Add<MText>("MText", 0, rect, text)) {
        t->SetTextColor(color);
    }
}

void GalleryPage::OnNotify(UINT id, std::function<void(UINT, WPARAM, LPARAM)> handler) {
    dialog_.SetHandler(id, std::move(handler));
}

void GalleryPage::Missing(const char* cls) {
    std::fprintf(stderr, "tessel_gallery: cannot build %s\n", cls);
}

void GalleryDialog::InitUI(CRect client) {
    SetBackMode(BACK_MODE_FRAME, 8);
    LoadBKImage("main_bkg.png");
    const int w = client.Width();
    const int h = client.Height();
    if (auto* caption =
            dynamic_cast<MPicture*>(CreateArea("MPicture", 36, CRect(1, 1, w - 1, 50), "", 1, 1))) {
        caption->SetImage("pic_caption.png", 1);
        caption->SetShowMode(SHOW_MODE_STRETCH);
    }
    if (auto* logo =
            dynamic_cast<MPicture*>(CreateArea("MPicture", 37, CRect(14, 6, 52, 44), "", 1, 1))) {
        logo->SetImage("logo\\logo.png", 1);
        logo->SetShowMode(SHOW_MODE_STRETCH);
    }
    if (auto* title = dynamic_cast<MText*>(CreateArea(
            "MText", 38, CRect(w / 2 - 150, 10, w / 2 + 150, 40), "TESSEL GALLERY", 1, 1))) {
        title->SetFont("Arial", 20, FontStyleBold);
        title->SetTextColor(0xFFFF0000);
        title->SetAlignment(1, 4);
    }
    if (auto* close = dynamic_cast<CImageButton*>(
            CreateControl("CImageButton", kClose, CRect(w - 50, 12, w - 20, 42), "Close", 1, 1))) {
        close->SetImage("main_sysbtn_close.png", 4);
        close->SetTooltip("Close");
    }
    if (auto* bar =
            dynamic_cast<CArea*>(CreateArea("CArea", 48, CRect(1, 50, 81, h - 1), "", 1, 1))) {
        bar->SetTransparent(20, 60, 0x1D1914);
    }
    const CRect area(96, 60, w - 16, h - 12);
    std::vector<MTabLayout*> pages;
    for (std::size_t i = 0; i < Pages().size(); ++i) {
        pages.push_back(dynamic_cast<MTabLayout*>(
            CreateControl("MTabLayout", 50 + static_cast<UINT>(i), area, "", i == 0, 1)));
    }
    tabs_ = dynamic_cast<MTabCtrl*>(
        CreateControl("MTabCtrl", kTabs, CRect(1, 60, 81, h - 10), "", 1, 1));
    if (tabs_ == nullptr) {
        return;
    }
    tabs_->SetTabType(TAB_TYPE_VERTICAL);
    tabs_->SetItemWidth(80, 80);
    tabs_->SetItemHeight(80, 80);
    for (std::size_t i = 0; i < Pages().size(); ++i) {
        const PageInfo& info = Pages()[i];
        MTabLayout* panel = pages[i];
        if (panel == nullptr) {
            continue;
        }
        tabs_->InsertItem(static_cast<UINT>(i), info.title, info.icon, panel, 4, 36);
        GalleryPage page(*this, panel, area);
        info.build(page);
    }
    tabs_->SetSelectItem(0);
}

LRESULT GalleryDialog::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
    std::printf("notify %u %u %lu %ld\n", id, code, static_cast<unsigned long>(wParam),
                static_cast<long>(lParam));
    std::fflush(stdout);
    if (id == kClose && code == CN_CLICKED) {
        DoCancel();
        return 1;
    }
    auto it = handlers_.find(id);
    if (it != handlers_.end()) {
        it->second(code, wParam, lParam);
    }
    return 1;
}

LRESULT GalleryDialog::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto it = message_handlers_.find(msg);
    if (it == message_handlers_.end()) {
        return MDialog::OnWindowMessage(msg, wParam, lParam);
    }
    std::printf("message %u %lu %ld\n", msg, static_cast<unsigned long>(wParam),
                static_cast<long>(lParam));
    std::fflush(stdout);
    it->second(wParam, lParam);
    return 1;
}

void GalleryDialog::Describe(const std::vector<UINT>& ids) {
    const CRect win = GetWindowRect();
    std::printf("window %lu %d %d %d %d\n", Native() != nullptr ? Native()->Id() : 0UL, win.left,
                win.top, win.right, win.bottom);
    for (UINT id : ids) {
        if (MControl* c = GetControl(id)) {
            const CRect r = c->GetRect();
            const CPoint tl = ClientToScreen(r.TopLeft());
            std::printf("rect %u %d %d %d %d\n", id, tl.x, tl.y, tl.x + r.Width(),
                        tl.y + r.Height());
        }
    }
    std::fflush(stdout);
}

void GalleryDialog::Later(unsigned ms, std::function<void()> f) {
    if (auto* loop = Manager::Loop()) {
        loop->AddTimer(ms, false, std::move(f));
    }
}

} // namespace gallery
