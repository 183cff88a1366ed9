#pragma once
// Controls and a dialog that record what reaches them, for the Tessel tests.

#include "tessel/HeadlessSession.h"
#include "tessel/MDialog.h"
#include "tessel/PaintManager.h"

#include <functional>
#include <string>
#include <vector>

namespace tessel_test {

using namespace Tessel;

struct Note {
    UINT id;
    UINT code;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Note&) const = default;
};

// A control that paints itself in one colour per state and behaves like a
// push button: CN_PRESSED on a press, CN_CLICKED on a release inside after a
// press. Everything it receives is logged.
class Probe : public MControl {
public:
    Probe(MObject* parent, UINT id, CRect rect, Color normal = 0xFF2040C0)
        : MControl(parent, id, rect, 1, 1, 1), normal_(normal) {}

    void DrawControl(HDC& dc, CRect) override {
        const Color c = state == 2 ? 0xFFC02020 : state == 1 ? 0xFF20C040 : normal_;
        MRender::FillSolidRect(dc, GetRect(), c);
        ++draws;
    }
    int OnControlMouseMove(UINT, CPoint pt) override {
        const int s = GetRect().PtInRect(pt) ? 1 : 0;
        if (state != 2 && s != state) {
            state = s;
            log.push_back(s != 0 ? "enter" : "leave");
            UpdateControl(0);
        }
        return GetRect().PtInRect(pt) ? 1 : 0;
    }
    int OnControlLButtonDown(UINT, CPoint) override {
        log.push_back("down");
        state = 2;
        SendMessageW(CN_PRESSED, 0, 0);
        UpdateControl(0);
        return 1;
    }
    int OnControlLButtonUp(UINT, CPoint pt) override {
        log.push_back("up");
        const bool was_pressed = state == 2;
        state = GetRect().PtInRect(pt) ? 1 : 0;
        if (was_pressed && state == 1) {
            SendMessageW(CN_CLICKED, 0, 0);
        }
        UpdateControl(0);
        return 1;
    }
    int OnControlLButtonDblClk(UINT, CPoint) override {
        log.push_back("dblclk");
        return 1;
    }
    int OnControlScroll(int step, UINT direction, CPoint) override {
        log.push_back("scroll" + std::to_string(step) + ":" + std::to_string(direction));
        return 1;
    }
    int OnControlKeyDown(UINT key, UINT, UINT modifier) override {
        if (!IsFocused()) {
            return 0;
        }
        log.push_back("key" + std::to_string(key) + ":" + std::to_string(modifier));
        return 1;
    }
    int SetControlFocus(int focus) override {
        log.push_back(focus != 0 ? "focus" : "blur");
        return MControl::SetControlFocus(focus);
    }
    int OnControlTimer() override {
        ++ticks;
        if (GetManager() != nullptr) {
            timer_keys.push_back(GetManager()->GetCurrentTimerKey());
        }
        return 0;
    }

    int state = 0;
    int draws = 0;
    int ticks = 0;
    std::vector<UINT> timer_keys;
    std::vector<std::string> log;

private:
    Color normal_;
};

// A dialog that records the notifications of its controls and the window
// messages it sees, and builds its controls with a function given by the test.
class TestDialog : public MDialog {
public:
    std::function<void(TestDialog&, CRect)> build;
    std::vector<Note> notes;
    std::vector<UINT> messages;
    bool record_messages = false;

    void InitUI(CRect client) override {
        if (build) {
            build(*this, client);
        }
    }
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override {
        notes.push_back({id, code, wParam, lParam});
        return 1;
    }
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (record_messages && msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK) {
            messages.push_back(msg);
        }
        return MDialog::OnWindowMessage(msg, wParam, lParam);
    }
    bool Open(int width = 400, int height = 300, int x = 100, int y = 100) {
        return Create(nullptr, "test", 0, 0, CRect(x, y, x + width, y + height)) != nullptr;
    }
};

} // namespace tessel_test
