#pragma once
// Process-wide settings of the library and the UI thread's event loop and
// window system.

#include "tessel/TesselTypes.h"

#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace kovrin::platform {
class EventLoop;
class WindowSystem;
class HeadlessWindowSystem;
} // namespace kovrin::platform

namespace Tessel {

class MWindow;
struct MSG;

class Manager {
public:
    // ---- UI thread ----
    // Makes the calling thread the UI thread with a real X11 connection.
    // False (with the reason) when no display can be opened.
    static bool InitUiThread(std::string* error = nullptr);
    // The same with in-memory windows and a virtual clock (tests, benchmarks).
    static kovrin::platform::HeadlessWindowSystem& InitHeadless();
    // Destroys the window system and the loop (every window must be gone).
    static void ShutdownUi();
    // Threads other than the UI thread use PostToUi / InvokeOnUi, not these.
    static kovrin::platform::EventLoop* Loop();
    static kovrin::platform::WindowSystem* System();
    // Null unless InitHeadless was used.
    static kovrin::platform::HeadlessWindowSystem* Headless();
    static bool IsUiThread();
    // Runs the UI loop until Quit; returns its exit code.
    static int MessageLoop();
    static void PostQuitMessage(int code);

    // ---- settings ----
    static void SetInstance(void* instance);
    static void* GetInstance();
    // Folder of the program's data (skins, fonts, resources), ending in '/':
    // the override, else $KOVRIN_PROGRAM_DIR, else the executable's folder.
    static void SetProgramFolder(const std::string& folder);
    static std::string GetProgramFolder();
    static std::string GetTheme() { return "theme1/"; }
    static std::string GetSkinFolder() { return GetProgramFolder() + "skins/" + GetTheme(); }
    // File of a built-in resource: <program>/res/<id>.<type> for the
    // application's, <program>/tessel/<id>.<type> for the library's.
    static std::string GetResourcePath(unsigned id, const std::string& type, bool fromApplication);

    static void SetDeviceName(const std::string& name);
    static std::string GetDeviceName();
    static void SetFontName(const std::string& name);
    static std::string GetFontName();
    static void SetFont(const std::string& name, int size);
    static int GetFontWidth();
    static Color GetSelectColor();
    static void SetSelectColor(Color color);

    // ---- windows ----
    static void AddWnd(MWindow* window);
    static void DeleteWnd(MWindow* window);
    static bool IsWindow(const MWindow* window);
    // Live windows of that class name (and title, when given).
    static std::vector<MWindow*> FindWindows(const std::string& className,
                                             const std::string* title = nullptr);
    // Live windows whose owner is that window.
    static std::vector<MWindow*> OwnedWindows(const MWindow* owner);

    // True exactly when Alt and F4 are both held down.
    static int PreTranslateMessage(const MSG* msg);

private:
    static std::mutex mutex_;
};

// Any thread: runs the closure on the UI thread at its next turn. False when
// there is no UI loop or it is shutting down.
bool PostToUi(std::function<void()> closure);
// Any thread: runs the closure on the UI thread and waits for it (at once on
// the UI thread). False when the UI shuts down first; never deadlocks a
// thread the UI is waiting for, once BeginUiShutdown was called.
bool InvokeOnUi(std::function<void()> closure);
// UI thread, before joining worker threads: refuses further posts and invokes
// and releases the ones waiting.
void BeginUiShutdown();

} // namespace Tessel
