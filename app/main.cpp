// kovrin: the program. Start-up in its fixed order, then the main window
// until it ends.
//
//   kovrin [--program-dir DIR] [--simulate MODEL[:MODE]] [--trace FILE]
//
// With --simulate (or KOVRIN_SIMULATE) the program talks to a simulated
// keyboard of that catalogue model instead of the machine's HID interfaces;
// SIGUSR1 unplugs it and SIGUSR2 plugs it in again, reported to the program
// as hot-plug reports a real keyboard.

#include "app/DeviceName.h"
#include "app/Language.h"
#include "app/Paths.h"
#include "app/ProductConfig.h"
#include "app/Settings.h"
#include "app/SingleInstance.h"
#include "device/Catalogue.h"
#include "device/DeviceManager.h"
#include "device/SimulationSetup.h"
#include "mainwindow/KeyboardDlg.h"
#include "platform/process/SignalWatch.h"
#include "platform/window/EventLoop.h"
#include "tessel/Manager.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSignalUnplug = SIGUSR1;
constexpr int kSignalPlug = SIGUSR2;

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: kovrin [--program-dir DIR] [--simulate MODEL[:MODE]] [--trace FILE]\n"
                 "\n"
                 "  --program-dir DIR  read config.xml, layouts, languages and skins from DIR\n"
                 "                     (same as the environment variable KOVRIN_PROGRAM_DIR)\n"
                 "  --simulate MODEL[:MODE]\n"
                 "                     run against a simulated keyboard of that catalogue model\n"
                 "                     (same as KOVRIN_SIMULATE); SIGUSR1 unplugs it, SIGUSR2\n"
                 "                     plugs it in again\n"
                 "  --trace FILE       append every report exchanged with a keyboard to FILE\n");
}

} // namespace

int main(int argc, char** argv) {
    kovrin::DeviceOptions devices;
    devices.simulate = kovrin::SimulateTextFromEnvironment();
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool has_value = i + 1 < args.size();
        if (a == "--help") {
            PrintUsage(stdout);
            return 0;
        }
        if (a == "--program-dir" && has_value) {
            kovrin::SetProgramFolder(args[++i]);
        } else if (a == "--simulate" && has_value) {
            devices.simulate = args[++i];
        } else if (a == "--trace" && has_value) {
            devices.trace = args[++i];
        } else {
            std::fprintf(stderr, "kovrin: unknown or incomplete option %s\n", a.c_str());
            PrintUsage(stderr);
            return 2;
        }
    }
    Tessel::Manager::SetProgramFolder(kovrin::ProgramFolder());

    // The device name names everything below.
    kovrin::ReadDeviceNameFromConfig(kovrin::ConfigFilePath());
    const std::string name = kovrin::DeviceName();
    Tessel::Manager::SetDeviceName(name);

    kovrin::SingleInstance instance(name);
    if (!instance.IsFirst()) {
        instance.RaiseFirst();
        return 0;
    }
    if (!instance.LockError().empty()) {
        std::fprintf(stderr, "kovrin: running without the single-instance lock: %s\n",
                     instance.LockError().c_str());
    }

    kovrin::SetLanguageId(kovrin::StartLanguageId());
    kovrin::EnsureFolder(kovrin::DatabaseFolder());

    kovrin::DeviceSetup setup;
    if (!devices.simulate.empty() || !devices.trace.empty()) {
        std::string error;
        if (!kovrin::ConfigureDevices(kovrin::DeviceManager::Instance(), devices,
                                      kovrin::CatalogueOfRun(), kovrin::RealClock::Instance(),
                                      &setup, &error)) {
            std::fprintf(stderr, "kovrin: %s\n", error.c_str());
            return 2;
        }
    }
    if (setup.keyboard) {
        // Before any thread starts, so that every thread leaves these to the loop.
        kovrin::platform::SignalWatch::Block({kSignalUnplug, kSignalPlug});
    }

    std::string error;
    if (!Tessel::Manager::InitUiThread(&error)) {
        std::fprintf(stderr, "kovrin: %s\n", error.c_str());
        return 3;
    }
    Tessel::UINT result = 0;
    {
        kovrin::KeyboardDlgOptions options;
        options.simulated = setup.keyboard;
        kovrin::KeyboardDlg dlg(std::move(options));

        kovrin::platform::SignalWatch signals({kSignalUnplug, kSignalPlug});
        std::uint64_t watch = 0;
        if (setup.keyboard && signals.Fd() >= 0) {
            watch = Tessel::Manager::Loop()->WatchFd(signals.Fd(), [&signals, &dlg] {
                for (int s : signals.Read()) {
                    dlg.SimulatePlug(s == kSignalPlug);
                }
            });
        }
        result = dlg.RunMainWindow();
        if (watch != 0) {
            Tessel::Manager::Loop()->UnwatchFd(watch);
        }
    }
    Tessel::Manager::ShutdownUi();
    if (result == 0xFFFFFFFF) {
        std::fprintf(stderr, "kovrin: cannot create the main window\n");
        return 3;
    }
    return 0;
}
