// The launcher's window: its page in a web view, placed on the primary
// monitor's work area, whose "rw:" links run the buttons of the settings.
#pragma once

#include <string>

#include "autorun/action_runner.h"
#include "autorun/gtk_ui.h"

typedef struct _WebKitWebView WebKitWebView;

// String 106.
inline constexpr const char* kPageMissing = "Base file for AutoRun window not found. AutorRun cannot start.";

class LauncherWindow {
 public:
  LauncherWindow(CAutorunSettings& settings, std::string launcher_dir, CActionRunner& runner, GtkUi& ui);
  LauncherWindow(const LauncherWindow&) = delete;
  LauncherWindow& operator=(const LauncherWindow&) = delete;

  // Shows the window and runs it until it closes: 0, or 1 when the page is
  // missing or there is no display.
  int Run();
  GtkWidget* Widget() const { return window_; }

  // Runs the button as a link to it does: hides the window for a
  // WindowClose button, closes it when the button is done.
  void Dispatch(const CButtonData& button);
  // A URL the page navigates to; true when it was a "rw:" link (the
  // navigation is then cancelled).
  bool Follow_Link(const std::string& uri);
  void Close();

  // The work-area rectangle of the window, its outer size and place.
  void Place();
  void Page_Loaded();

 private:
  void Run_Hook_Action();
  static int Hook_Step(void* self);

  CAutorunSettings& settings_;
  std::string launcher_dir_;
  CActionRunner& runner_;
  GtkUi& ui_;
  GtkWidget* window_ = nullptr;
  WebKitWebView* view_ = nullptr;
  void* loop_ = nullptr;  // GMainLoop
  bool page_loaded_ = false;
  bool placed_ = false;
  bool running_ = false;          // a button runs
  int pending_links_ = 0;         // links followed whose button has not yet run
  bool hook_waits_link_ = false;  // the hook's click waits for its link
  int hook_wait_polls_ = 0;
};
