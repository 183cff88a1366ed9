#include "tessel/ControlFactory.h"

#include "tessel/controls/CArea.h"
#include "tessel/controls/colour/CColorButton.h"
#include "tessel/controls/colour/CirclePalette.h"
#include "tessel/controls/devices/BatteryCtrl.h"
#include "tessel/controls/devices/CDeviceCtrl.h"
#include "tessel/controls/devices/UpgradeButton.h"
#include "tessel/controls/input/CComboBoxList.h"
#include "tessel/controls/input/MComboBox.h"
#include "tessel/controls/input/MEdit.h"
#include "tessel/controls/input/MTabCtrl.h"
#include "tessel/controls/input/MTabLayout.h"
#include "tessel/controls/keyboard/KeyFuncControl.h"
#include "tessel/controls/keyboard/KeyboardCtrl.h"
#include "tessel/controls/lists/CRecordList.h"
#include "tessel/controls/lists/DListBox.h"
#include "tessel/controls/standard/CCheckButton.h"
#include "tessel/controls/standard/CGifPicture.h"
#include "tessel/controls/standard/CImageButton.h"
#include "tessel/controls/standard/CRadioButton.h"
#include "tessel/controls/standard/MButton.h"
#include "tessel/controls/standard/MPicture.h"
#include "tessel/controls/standard/MSlider.h"
#include "tessel/controls/standard/MText.h"
#include "tessel/menus/MenuItem.h"

#include <cstring>

namespace Tessel {
namespace {

using Creator = MControl* (*)(MObject* parent, UINT id, CRect rect, const char* title, int visible,
                              int enabled);

// Constructor argument shapes after (parent, id, rect).
template <class T>
MControl* VisibleOne(MObject* p, UINT id, CRect r, const char*, int visible, int) {
    return new T(p, id, r, visible, 1);
}
template <class T>
MControl* VisibleEnabled(MObject* p, UINT id, CRect r, const char*, int visible, int enabled) {
    return new T(p, id, r, visible, enabled);
}
template <class T>
MControl* TitleVisible(MObject* p, UINT id, CRect r, const char* title, int visible, int) {
    return new T(p, id, r, title, visible);
}
template <class T>
MControl* TitleVisibleEnabled(MObject* p, UINT id, CRect r, const char* title, int visible,
                              int enabled) {
    return new T(p, id, r, title, visible, enabled);
}
template <class T>
MControl* TitleVisibleOne(MObject* p, UINT id, CRect r, const char* title, int visible, int) {
    return new T(p, id, r, title, visible, 1);
}
template <class T> MControl* Visible(MObject* p, UINT id, CRect r, const char*, int visible, int) {
    return new T(p, id, r, visible);
}

struct Entry {
    const char* name;
    bool window;
    bool panel;
    Creator create; // null: not part of the library yet
};

// Every accepted name. The argument shape of a class not built yet is noted
// beside it, for whoever adds it.
constexpr Entry kTable[] = {
    {"CArea", true, true, VisibleOne<CArea>},
    {"MText", true, true, TitleVisible<MText>},
    {"MPicture", true, true, VisibleEnabled<MPicture>},
    {"CPhotoFrame", true, true, nullptr},    // visible, enabled
    {"CSliderPicture", true, true, nullptr}, // visible, enabled
    {"CGifPicture", true, true, VisibleEnabled<CGifPicture>},
    {"MProgress", true, true, nullptr}, // visible, enabled
    {"MSlider", true, true, VisibleEnabled<MSlider>},
    {"MLevelCtrl", true, true, nullptr}, // visible, enabled
    {"MButton", true, true, TitleVisibleEnabled<MButton>},
    {"CImageButton", true, true, TitleVisibleEnabled<CImageButton>},
    {"CTextButton", true, true, nullptr}, // title, visible, enabled
    {"CCheckButton", true, true, TitleVisibleEnabled<CCheckButton>},
    {"CRadioButton", true, true, TitleVisibleEnabled<CRadioButton>},
    {"CIconButton", true, true, nullptr},  // title, visible, enabled
    {"CTimerButton", true, true, nullptr}, // title, visible, enabled
    {"CHelpButton", true, true, nullptr},  // title, visible, enabled
    {"CColorButton", true, true, VisibleEnabled<CColorButton>},
    {"MSpinButton", true, true, nullptr},   // visible, enabled
    {"CSpinButton", true, true, nullptr},   // visible, enabled
    {"CSwitchButton", true, true, nullptr}, // visible, enabled
    {"MEdit", true, true, TitleVisibleEnabled<MEdit>},
    {"MRichEdit", true, true, nullptr}, // title, visible, enabled
    {"MEditEx", true, true, nullptr},   // title, visible, enabled
    {"MComboBox", true, true, VisibleEnabled<MComboBox>},
    {"MTabCtrl", true, true, VisibleEnabled<MTabCtrl>},
    {"MTabLayout", true, true, Visible<MTabLayout>},
    {"MListBox", true, true, nullptr},      // visible
    {"MPalette", true, true, nullptr},      // visible
    {"CColorPalette", true, true, nullptr}, // visible
    {"CColorSelect", true, true, nullptr},  // visible
    {"CirclePalette", true, true, VisibleOne<CirclePalette>},
    {"CComboBoxList", true, false, VisibleOne<CComboBoxList>},
    {"MenuItem", true, true, TitleVisibleOne<MenuItem>},
    {"KeyboardCtrl", true, true, Visible<KeyboardCtrl>},
    {"KeyFuncControl", false, true, Visible<KeyFuncControl>},
    {"DListBox", false, true, Visible<DListBox>},
    {"CRecordList", false, true, Visible<CRecordList>},
    {"CDeviceCtrl", true, true, VisibleOne<CDeviceCtrl>},
    {"UpgradeButton", false, true, TitleVisibleEnabled<UpgradeButton>},
    {"DownloadButton", false, true, TitleVisibleEnabled<DownloadButton>},
    {"BatteryCtrl", true, false, VisibleOne<BatteryCtrl>},
};

const Entry* Find(const char* cls) {
    if (cls == nullptr || *cls == '\0') {
        return nullptr;
    }
    for (const Entry& e : kTable) {
        if (std::strcmp(e.name, cls) == 0) {
            return &e;
        }
    }
    return nullptr;
}

} // namespace

MControl* ControlFactory::Create(FactoryScope scope, MObject* parent, const char* cls, UINT id,
                                 CRect rect, const char* title, int visible, int enabled) {
    const Entry* e = Find(cls);
    if (e == nullptr || e->create == nullptr) {
        return nullptr;
    }
    if ((scope == FactoryScope::Window && !e->window) ||
        (scope == FactoryScope::Panel && !e->panel)) {
        return nullptr;
    }
    return e->create(parent, id, rect, title != nullptr ? title : "", visible, enabled);
}

std::vector<std::string> ControlFactory::Names(FactoryScope scope) {
    std::vector<std::string> names;
    for (const Entry& e : kTable) {
        if (scope == FactoryScope::Window ? e.window : e.panel) {
            names.emplace_back(e.name);
        }
    }
    return names;
}

bool ControlFactory::IsBuilt(const char* cls) {
    const Entry* e = Find(cls);
    return e != nullptr && e->create != nullptr;
}

} // namespace Tessel
