#pragma once
// The gallery window: a caption, a vertical tab bar with one page per entry
// of Pages(), and every notification printed to stdout as
// "notify <id> <code> <wParam> <lParam>".

#include "tessel/MDialog.h"
#include "tessel/controls/input/MTabCtrl.h"
#include "tools/gallery/GalleryPage.h"

#include <functional>
#include <map>

namespace gallery {

class GalleryDialog : public MDialog {
public:
    // The program's own window size: room for a full-size keyboard picture.
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 720;
    static constexpr UINT kClose = 41;
    static constexpr UINT kTabs = 49;

    void InitUI(CRect client) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Window messages a page posts itself (a menu's commands), printed as
    // "message <msg> <wParam> <lParam>" and passed to the handler.
    void SetMessageHandler(UINT msg, std::function<void(WPARAM, LPARAM)> handler) {
        message_handlers_[msg] = std::move(handler);
    }

    void SetHandler(UINT id, std::function<void(UINT, WPARAM, LPARAM)> handler) {
        handlers_[id] = std::move(handler);
    }
    MTabCtrl* Tabs() const { return tabs_; }
    // Screen rectangles of the controls with these ids, one line each.
    void Describe(const std::vector<UINT>& ids);
    // After `ms`, `f` runs once on the UI thread.
    void Later(unsigned ms, std::function<void()> f);

private:
    MTabCtrl* tabs_ = nullptr;
    std::map<UINT, std::function<void(UINT, WPARAM, LPARAM)>> handlers_;
    std::map<UINT, std::function<void(WPARAM, LPARAM)>> message_handlers_;
};

} // namespace gallery
