#pragma once
// Plain copies of the rows of the settings database, one structure per table.
// Texts are UTF-8. A new row has every number 0 and every text empty.

#include <string>

namespace kovrin {

// t_profile_data
struct ProfileRow {
    int profile_id = 0;
    std::string name;
    std::string app;
    int type = 0;
    int status = 0; // 1 for the active profile
};

// t_key_macro_data: the function given to one key on one Fn layer of a profile.
struct KeyAssignment {
    int key_id = 0;
    int profile = 0;
    int fn_layer = 0;
    int key_code = 0;
    int layout_value = 0;
    std::string layout_desc;
    int macro_type = 0;
    int macro_value = 0;
    int macro_value2 = 0;
    int macro_value3 = 0;
    std::string macro_desc;
};

// t_key_otherdata: the program, web address or text of an assignment.
struct KeyOtherRow {
    int id = 0; // macro_value
    std::string macro_desc;
    std::string param;
    int type = 0;
};

// t_macro_data
struct MacroRow {
    int macro_id = 0;
    std::string name;
    int link_count = 0;
    int play_times = 0;
    int delay_type = 0;
    int delay_time = 0;
};

// t_macrorecord: one action of a macro.
struct MacroRecordRow {
    int record_id = 0;
    int macro_id = 0;
    int type = 0;
    int record_index = 0;
    int value = 0;
    int delay_time = 0;
    std::string desc;
};

// t_light_data: the settings of one light mode of a profile.
struct LightRow {
    int light_id = 0;
    int profile = 0;
    std::string name;
    int mode = 0;
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    int colorful = 0;
    int colorindex = 0;
    int color_value = 0;
    int config_func = 0;
    int reserved = 0;
    int status = 0; // 1 for the chosen mode
};

// t_key_light_data: the colour of one key in a custom light set.
struct KeyLightRow {
    int keylight_id = 0;
    int profile = 0;
    int light_id = 0;
    int key_code = 0;
    int key_rgb = 0; // red + 256 * green + 65536 * blue
};

// t_musiclayer_data
struct MusicLayerRow {
    int layer_id = 0;
    int profile = 0;
    std::string name;
    int deviceindex = 0;
    int foremode = 0;
    int fore_amplitude = 0;
    int backmode = 0;
    int backb_right = 0;
};

} // namespace kovrin
