#include "app/Language.h"
#include "app/Paths.h"
#include "app/Worker.h"
#include "app/ctl/CtlCommand.h"
#include "device/Catalogue.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceManager.h"
#include "device/LayoutLoader.h"
#include "store/KeyboardDatabase.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <ostream>
#include <set>

namespace kovrin::ctl {

DeviceState OpenKeyboards(std::vector<ModelRecord>& modes);

namespace {

const std::map<std::string, int> kSyncTasks = {
    {"keys", TASK_SYNC_KEYS},  {"light", TASK_SYNC_LIGHT}, {"colors", TASK_SYNC_KEY_COLORS},
    {"restore", TASK_RESTORE}, {"all", TASK_SYNC_ALL},
};

const char* TaskName(int code) {
    switch (code) {
    case TASK_SYNC_KEYS:
        return "keys";
    case TASK_SYNC_LIGHT:
        return "light";
    case TASK_SYNC_KEY_COLORS:
        return "colors";
    case TASK_RESTORE:
        return "restore";
    case TASK_SYNC_ALL:
        return "all";
    default:
        return "task";
    }
}

std::optional<int> Number(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string HexKey(int key) {
    char text[16];
    std::snprintf(text, sizeof text, "%02x", static_cast<unsigned>(key));
    return text;
}

// What the program has after its first start with a model: the profile list
// makes three profiles (the first active) and the configuration rows, the
// lighting page makes the active profile's light rows from the layout.
void PrepareFreshDatabase(KeyboardDatabase& database, const KeyboardLayout& layout) {
    std::vector<ProfileRow> profiles;
    if (database.LoadProfiles(profiles) == 0) {
        for (int i = 1; i <= 3; ++i) {
            ProfileRow row;
            row.name = GetText(65) + " " + std::to_string(i);
            const int id = database.AddProfile(row);
            if (i == 1 && id > 0) {
                database.AddDefaultConfig();
                database.SetActiveProfile(id);
            }
        }
    }
    const int profile = database.GetActiveProfile();
    if (profile == 0 || database.CountLights(profile) > 0 || layout.light_modes.empty()) {
        return;
    }
    LightRow row;
    row.profile = profile;
    row.brightness = layout.light.default_brightness;
    row.speed = layout.light.default_speed;
    row.direction = layout.device_type >= 200 && layout.device_type <= 299 ? 2 : 0;
    row.colorful = 1;
    row.color_value = 255;
    for (const LightModeInfo& mode : layout.light_modes) {
        if (mode.mode == 9) {
            row.colorindex = 0;
            row.direction = 0;
            row.speed = 0;
        }
        row.name = mode.name;
        row.mode = mode.mode;
        row.config_func = static_cast<int>(mode.functions);
        database.AddLight(row);
    }
    database.SetActiveLight(profile, layout.light.default_mode);
}

// The main window's part, as far as a command line has one: the selection
// given on the command line, and page reloads that queue what the pages
// would send.
class CtlHost final : public WorkerHost {
public:
    CtlHost(std::ostream& out, CommandSelection selection)
        : out_(out), selection_(std::move(selection)) {}

    void SetWorker(Worker* worker) { worker_ = worker; }
    // Queues the task once per run, with a token that reports its end.
    void QueueOnce(int code) {
        if (!worker_ || !queued_.insert(code).second) {
            return;
        }
        auto token = WaitToken::Create();
        token->Attach([this, code] { out_ << "sync " << TaskName(code) << ": done\n"; });
        worker_->Queue(code, std::move(token));
    }

    CommandSelection Selection() override { return selection_; }
    void SetWindowEnabled(bool) override {}
    void ShowDeviceState(const DiscoveryResult&, const DeviceState&) override {}
    void StartVisualizer() override {}
    void ReloadMacroPage() override {}
    void ReloadProfileList() override { QueueOnce(TASK_SYNC_KEYS); }
    void ReloadKeyPage() override { QueueOnce(TASK_SYNC_KEYS); }
    void ReloadLightingPage(LightingReload) override { QueueOnce(TASK_SYNC_LIGHT); }
    void ReloadMusicLayers() override {}
    void KeysSynced(const KeySyncReport& report) override {
        if (report.family == DeviceFamily::kB && !report.slot_table_read) {
            out_ << "sync keys: the keyboard's slot table could not be read\n";
        }
        if (report.macro_upload_stopped) {
            out_ << "sync keys: a macro report failed; the macros after it were not sent\n";
        }
        if (!report.not_sent.empty()) {
            out_ << "sync keys: not sent (no slot left or no place in the key map):";
            for (int key : report.not_sent) {
                out_ << ' ' << HexKey(key);
            }
            out_ << '\n';
        }
    }

private:
    std::ostream& out_;
    CommandSelection selection_;
    Worker* worker_ = nullptr;
    std::set<int> queued_;
};

} // namespace

// kovrinctl sync TASK [--profile N] [--layer N]
int RunSync(CtlContext& context) {
    constexpr const char* kUsage =
        "usage: kovrinctl sync keys|light|colors|restore|all [--profile N] [--layer N]\n";
    std::vector<std::string> args = context.args;
    bool missing = false;
    const std::string profile_text = TakeOption(args, "--profile", &missing);
    const std::string layer_text = TakeOption(args, "--layer", &missing);
    const std::optional<int> profile_arg =
        profile_text.empty() ? std::nullopt : Number(profile_text);
    const std::optional<int> layer_arg =
        layer_text.empty() ? std::optional<int>(0) : Number(layer_text);
    if (missing || args.size() != 1 || !kSyncTasks.count(args[0]) ||
        (!profile_text.empty() && (!profile_arg || *profile_arg < 1)) || !layer_arg ||
        *layer_arg < 0) {
        context.err << kUsage;
        return 2;
    }
    const int task = kSyncTasks.at(args[0]);

    std::vector<ModelRecord> modes;
    const DeviceState state = OpenKeyboards(modes);
    if (!state.device_present) {
        context.err << "kovrinctl: no supported keyboard found\n";
        return 1;
    }
    if (!state.model_matched) {
        context.err << "kovrinctl: the keyboard found matches no model of the catalogue\n";
        return 1;
    }
    DiscoveryResult discovery;
    discovery.device_present = state.device_present;
    discovery.model_matched = state.model_matched;
    const ModelRecord* present = nullptr;
    for (std::size_t i = 0; i < modes.size(); ++i) {
        if (modes[i].present) {
            discovery.present_modes.push_back(i);
            if (!present || (modes[i].device_type == state.selected_type &&
                             present->device_type != state.selected_type)) {
                present = &modes[i];
            }
        }
    }
    const Catalogue& catalogue = CatalogueOfRun();
    const ModelRecord* model = nullptr;
    for (const ModelRecord& m : catalogue.models) {
        if (present && m.device_type == present->device_type &&
            m.layout_name == present->layout_name) {
            model = &m;
            break;
        }
    }
    if (!model) {
        context.err << "kovrinctl: no model of the catalogue for the keyboard found\n";
        return 1;
    }
    const LayoutLoad load = LoadModelLayout(*model, nullptr);
    if (!load.loaded) {
        context.err << "kovrinctl: cannot load the layout of " << model->name << ": " << load.error
                    << '\n';
        return 1;
    }

    EnsureFolder(DatabaseFolder());
    KeyboardDatabase database;
    if (!database.Open(DataFolder(), load.model_name)) {
        context.err << "kovrinctl: cannot open the database of " << load.model_name << ": "
                    << database.LastError() << '\n';
        return 1;
    }
    database.SetDeviceType(load.device_type);
    PrepareFreshDatabase(database, *load.layout);

    CommandSelection selection;
    selection.keys.profile = profile_arg ? *profile_arg : std::max(1, database.GetActiveProfile());
    selection.keys.fn_layer = *layer_arg;
    selection.light.profile = selection.keys.profile;
    selection.light.mode = database.GetActiveLightMode(selection.light.profile);

    SharedLayout layout;
    layout.Set(load.layout);
    DeviceManager& manager = DeviceManager::Instance();
    CtlHost host(context.out, selection);
    Worker worker(manager, database, layout, host, modes, manager.GetClock());
    host.SetWorker(&worker);
    worker.AdoptDeviceState(discovery, state);

    context.out << model->name << ", device type " << load.device_type << ", connection mode "
                << state.connection_mode << ", profile " << selection.keys.profile << ", layer "
                << selection.keys.fn_layer << '\n';
    host.QueueOnce(task);
    while (!worker.Tasks().Empty()) {
        worker.RunCycle();
    }
    return 0;
}

} // namespace kovrin::ctl
