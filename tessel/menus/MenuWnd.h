#pragma once
// The skinned context menu. The caller allocates it with new, creates it at
// a screen point, adds items and runs it with ShowModal. Every notification
// of an item is posted to the owner window as (the menu's message, the
// notification's wParam, the item id); a click closes the menu, and so does a
// press outside it (with nothing posted). The menu deletes itself once its
// window is gone, at the loop's next turn, so never inside its own modal loop.

#include "tessel/menus/MPopupWnd.h"

#include <map>
#include <string>

namespace Tessel {

class MenuItem;

class MenuWnd : public MPopupWnd {
public:
    explicit MenuWnd(MObject* parent);

    const char* GetClassNameW() const override { return "MenuWnd"; }
    void InitUI(CRect client) override;
    LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
    LRESULT PostNcDestroy() override;

    // Creates the window "Menu Window" with its top-left corner at the screen
    // point, `width` wide; the background image (skin folder; empty: none)
    // is drawn in the back mode with the value. False when the window cannot
    // be made (the object then deletes itself as well).
    bool Create(HWND owner, CPoint pt, UINT message, const std::string& backImage, int backValue,
                int width, enumBackMode mode);
    bool Create(HWND owner, CPoint pt, UINT message, unsigned backResourceId, int backValue,
                int width, enumBackMode mode);
    bool Create(HWND owner, CPoint pt, UINT message, int width);

    // Adds an item (widening the menu for a long text); returns -1.
    int AddMenu(const std::string& text, UINT id, const std::string& iconFile = {}, int = 0,
                int = 0);
    int AddSeparator(UINT id, const std::string& imageFile = {});
    // Lays the items out top to bottom and sizes the window to them.
    void SetMenuPoint();
    LRESULT SendMessageToParent(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
        return OnMessage(id, code, wParam, lParam);
    }

    // Settings applied to the item of that id (now and when it is added).
    void SetItemTitle(UINT id, const std::string& title);
    void SetItemVisible(UINT id, int visible);
    void SetItemEnable(UINT id, int enabled);
    void SetItemCheck(UINT id, int check);

    void SetHoverColor(Color color) { hover_color_ = color; }
    bool SetHoverImage(const std::string& fileName);
    bool SetCheckImage(const std::string& fileName);
    void SetItemHeight(int height) { item_height_ = height; }
    void SetTextMargin(int margin) { text_margin_ = margin; }
    void SetFrameWidth(int width) { frame_width_ = width; }
    void SetMargins(int top, int bottom) {
        top_margin_ = top;
        bottom_margin_ = bottom;
    }
    void SetMenuFont(const std::string& name, int size, int style);

    int GetMenuWidth() const { return width_; }
    UINT GetNotifyMessage() const { return message_; }
    MObject* GetParent() const { return parent_menu_object_; }
    void SetParent(MObject* parent) { parent_menu_object_ = parent; }

private:
    struct ItemSetting {
        std::string title;
        bool has_title = false;
        int visible = -1;
        int enabled = -1;
        int check = -1;
    };
    void Apply(MenuItem* item);
    MenuItem* FindItem(UINT id);
    FontChoice MenuFont() const { return {font_name_, font_size_, font_style_}; }
    bool Finish(bool created);
    void DeleteLater();

    MObject* parent_menu_object_;
    UINT message_ = 0;
    HWND owner_ = nullptr;
    std::string font_name_;
    int font_size_;
    int font_style_ = 0;
    int item_height_ = 35;
    int width_ = 300;
    int text_margin_ = 5;
    int frame_width_ = 0;
    int top_margin_ = 6;
    int bottom_margin_ = 6;
    Color hover_color_ = 0xFFFF0000;
    ImgResInfo* hover_image_ = nullptr;
    ImgResInfo* check_image_ = nullptr;
    std::map<UINT, ItemSetting> settings_;
};

} // namespace Tessel
