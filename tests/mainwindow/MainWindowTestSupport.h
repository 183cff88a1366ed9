#pragma once
// The main window on in-memory windows and a virtual clock, with its worker
// driven one cycle at a time and, when asked, a simulated keyboard attached
// the way `kovrin --simulate` attaches one.

#include "app/Language.h"
#include "app/Settings.h"
#include "device/Catalogue.h"
#include "device/SimulationSetup.h"
#include "mainwindow/KeyboardDlg.h"
#include "store/KeyboardDatabase.h"
#include "tessel/HeadlessSession.h"
#include "tessel/controls/input/MTabCtrl.h"
#include "tessel/controls/standard/MText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kovrin::test {

class MainWindowFixture : public ::testing::Test {
protected:
    MainWindowFixture() { SetLanguageId(kDefaultLanguageId); }
    ~MainWindowFixture() override {
        dlg.reset();
        SetLanguageId(kDefaultLanguageId);
    }

    // Attaches a simulated keyboard of the catalogue model ("MODEL[:MODE]").
    void Simulate(const std::string& request) {
        DeviceOptions options;
        options.simulate = request;
        std::string error;
        ASSERT_TRUE(ConfigureDevices(manager, options, CatalogueOfRun(), clock, &setup, &error))
            << error;
        keyboard = setup.keyboard;
    }

    // Creates and shows the window; the worker does not run by itself.
    void Open() {
        KeyboardDlgOptions options;
        options.devices = &manager;
        options.database = &database;
        options.clock = &clock;
        options.run_worker_thread = false;
        options.tray = false;
        options.hotplug = nullptr;
        options.simulated = keyboard;
        options.exit_process = [this](int code) { exits.push_back(code); };
        options.open_url = [this](const std::string& url) {
            opened.push_back(url);
            return true;
        };
        dlg = std::make_unique<KeyboardDlg>(std::move(options));
        ASSERT_TRUE(dlg->CreateMainWindow());
        dlg->ShowWindow(Tessel::SW_SHOW);
        ui.Pump();
    }

    // Runs the queued tasks (and what they queue) with the UI in between.
    void RunWorker(int limit = 200) {
        ui.Pump();
        for (int i = 0; i < limit && !dlg->GetWorker()->Tasks().Empty(); ++i) {
            dlg->GetWorker()->RunCycle();
            ui.Pump();
        }
        ui.Pump();
    }

    std::string Title(Tessel::UINT id) {
        auto* c = dynamic_cast<Tessel::MControlFont*>(dlg->GetControl(id));
        return c != nullptr ? c->GetTitle() : "<no control " + std::to_string(id) + ">";
    }
    bool Visible(Tessel::MControl* c) const { return c != nullptr && c->IsVisible(); }

    UserFolders user;
    Tessel::HeadlessSession ui{KOVRIN_BUILD_PROGRAM_DIR};
    VirtualClock clock;
    DeviceManager manager{std::make_shared<SimulatedHidBackend>(), clock};
    KeyboardDatabase database;
    DeviceSetup setup;
    std::shared_ptr<SimulatedKeyboard> keyboard;
    std::vector<int> exits;
    std::vector<std::string> opened;
    std::unique_ptr<KeyboardDlg> dlg;
};

} // namespace kovrin::test
