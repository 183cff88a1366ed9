#include "tessel/Manager.h"

#include "platform/Files.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/window/EventLoop.h"
#include "platform/window/WindowSystem.h"
#include "tessel/MWindow.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>

namespace Tessel {

std::mutex Manager::mutex_;

namespace {

struct Settings {
    void* instance = nullptr;
    std::string program_folder;
    std::string device_name = "Kovrin";
    std::string font_name = "Arial";
    int font_size = 14;
    Color select_color = 0xFFFF0000;
    std::set<MWindow*> windows;
};

Settings& S() {
    static Settings s;
    return s;
}

// The UI thread's loop and window system. The loop pointer is read by other
// threads (PostToUi), hence atomic.
// Shared so that a thread inside PostToUi or InvokeOnUi keeps it alive.
std::shared_ptr<kovrin::platform::EventLoop> g_loop;
std::unique_ptr<kovrin::platform::WindowSystem> g_system;
kovrin::platform::HeadlessWindowSystem* g_headless = nullptr;
std::atomic<kovrin::platform::EventLoop*> g_loop_ptr{nullptr};
std::mutex g_ui_mutex;

std::string WithSlash(std::string s) {
    if (!s.empty() && s.back() != '/') {
        s.push_back('/');
    }
    return s;
}

} // namespace

bool Manager::InitUiThread(std::string* error) {
    std::lock_guard lock(g_ui_mutex);
    if (g_system) {
        return true;
    }
    auto loop = std::make_shared<kovrin::platform::EventLoop>(false);
    auto system = kovrin::platform::CreateX11WindowSystem(*loop, error);
    if (!system) {
        return false;
    }
    g_loop = std::move(loop);
    g_system = std::move(system);
    g_headless = nullptr;
    g_loop_ptr = g_loop.get();
    return true;
}

kovrin::platform::HeadlessWindowSystem& Manager::InitHeadless() {
    std::lock_guard lock(g_ui_mutex);
    if (g_headless != nullptr) {
        return *g_headless;
    }
    g_system.reset();
    g_loop.reset();
    g_loop = std::make_shared<kovrin::platform::EventLoop>(true);
    auto system = std::make_unique<kovrin::platform::HeadlessWindowSystem>(*g_loop);
    g_headless = system.get();
    g_system = std::move(system);
    g_loop_ptr = g_loop.get();
    return *g_headless;
}

void Manager::ShutdownUi() {
    std::shared_ptr<kovrin::platform::EventLoop> loop;
    std::unique_ptr<kovrin::platform::WindowSystem> system;
    {
        std::lock_guard lock(g_ui_mutex);
        g_loop_ptr = nullptr;
        system = std::move(g_system);
        loop = std::move(g_loop);
        g_headless = nullptr;
    }
    // Outside the lock: the closures dropped here may post (and are refused)
    // or release windows as they go.
    if (loop) {
        loop->BeginShutdown();
    }
    system.reset();
    loop.reset();
}

kovrin::platform::EventLoop* Manager::Loop() {
    return g_loop_ptr.load();
}
kovrin::platform::WindowSystem* Manager::System() {
    return g_system.get();
}
kovrin::platform::HeadlessWindowSystem* Manager::Headless() {
    return g_headless;
}

bool Manager::IsUiThread() {
    auto* loop = Loop();
    return loop != nullptr && loop->IsLoopThread();
}

int Manager::MessageLoop() {
    auto* loop = Loop();
    return loop != nullptr ? loop->Run() : -1;
}

void Manager::PostQuitMessage(int code) {
    if (auto* loop = Loop()) {
        loop->Quit(code);
    }
}

void Manager::SetInstance(void* instance) {
    std::lock_guard lock(mutex_);
    S().instance = instance;
}

void* Manager::GetInstance() {
    std::lock_guard lock(mutex_);
    return S().instance;
}

void Manager::SetProgramFolder(const std::string& folder) {
    std::lock_guard lock(mutex_);
    S().program_folder = WithSlash(folder);
}

std::string Manager::GetProgramFolder() {
    {
        std::lock_guard lock(mutex_);
        if (!S().program_folder.empty()) {
            return S().program_folder;
        }
    }
    if (const char* env = std::getenv("KOVRIN_PROGRAM_DIR"); env != nullptr && *env != '\0') {
        return WithSlash(env);
    }
    const std::string exe = kovrin::platform::ExecutablePath();
    const auto slash = exe.find_last_of('/');
    return slash == std::string::npos ? "./" : exe.substr(0, slash + 1);
}

std::string Manager::GetResourcePath(unsigned id, const std::string& type, bool fromApplication) {
    std::string ext;
    for (char c : type) {
        ext.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    }
    return GetProgramFolder() + (fromApplication ? "res/" : "tessel/") + std::to_string(id) + "." +
           ext;
}

void Manager::SetDeviceName(const std::string& name) {
    std::lock_guard lock(mutex_);
    S().device_name = name;
}

std::string Manager::GetDeviceName() {
    std::lock_guard lock(mutex_);
    return S().device_name;
}

void Manager::SetFontName(const std::string& name) {
    std::lock_guard lock(mutex_);
    S().font_name = name;
}

std::string Manager::GetFontName() {
    std::lock_guard lock(mutex_);
    return S().font_name;
}

void Manager::SetFont(const std::string& name, int size) {
    std::lock_guard lock(mutex_);
    S().font_name = name;
    S().font_size = size;
}

int Manager::GetFontWidth() {
    std::lock_guard lock(mutex_);
    return S().font_size;
}

Color Manager::GetSelectColor() {
    std::lock_guard lock(mutex_);
    return S().select_color;
}

void Manager::SetSelectColor(Color color) {
    std::lock_guard lock(mutex_);
    S().select_color = color;
}

void Manager::AddWnd(MWindow* window) {
    std::lock_guard lock(mutex_);
    S().windows.insert(window);
}

void Manager::DeleteWnd(MWindow* window) {
    std::lock_guard lock(mutex_);
    S().windows.erase(window);
}

bool Manager::IsWindow(const MWindow* window) {
    std::lock_guard lock(mutex_);
    return window != nullptr && S().windows.count(const_cast<MWindow*>(window)) != 0 &&
           window->GetSafeHwnd() != nullptr;
}

std::vector<MWindow*> Manager::FindWindows(const std::string& className, const std::string* title) {
    std::vector<MWindow*> all;
    {
        std::lock_guard lock(mutex_);
        all.assign(S().windows.begin(), S().windows.end());
    }
    std::vector<MWindow*> found;
    for (MWindow* w : all) {
        if (w->GetSafeHwnd() == nullptr || className != w->GetWindowClassName()) {
            continue;
        }
        if (title != nullptr && w->GetWindowTextW() != *title) {
            continue;
        }
        found.push_back(w);
    }
    return found;
}

std::vector<MWindow*> Manager::OwnedWindows(const MWindow* owner) {
    std::vector<MWindow*> all;
    {
        std::lock_guard lock(mutex_);
        all.assign(S().windows.begin(), S().windows.end());
    }
    std::vector<MWindow*> found;
    for (MWindow* w : all) {
        if (owner != nullptr && w != owner && w->GetSafeHwnd() != nullptr &&
            w->GetParentHwnd() == owner) {
            found.push_back(w);
        }
    }
    return found;
}

int Manager::PreTranslateMessage(const MSG*) {
    auto* system = System();
    return system != nullptr && system->IsKeyDown(VK_MENU) && system->IsKeyDown(VK_F4) ? 1 : 0;
}

namespace {
std::shared_ptr<kovrin::platform::EventLoop> SharedLoop() {
    std::lock_guard lock(g_ui_mutex);
    return g_loop_ptr.load() != nullptr ? g_loop : nullptr;
}
} // namespace

bool PostToUi(std::function<void()> closure) {
    auto loop = SharedLoop();
    return loop && loop->Post(std::move(closure));
}

bool InvokeOnUi(std::function<void()> closure) {
    auto loop = SharedLoop();
    return loop && loop->Invoke(std::move(closure));
}

void BeginUiShutdown() {
    if (auto* loop = Manager::Loop()) {
        loop->BeginShutdown();
    }
}

} // namespace Tessel
